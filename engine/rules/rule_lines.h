#pragma once

#include <string>

// One text rule line as read: page and position in 150-dpi pixels of the page image.
// Line: page-left-top-width-height:find:replace
struct TextRuleLine {
    int page = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string find;
    std::string replace;
};

// One image rule line as read: page and position in 150-dpi pixels of the page image.
// Line: page:left:top:(image path):width:height
struct ImageRuleLine {
    int page = 0;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::string imagePath;
};

// Reads a text rule line (its line end already removed). Missing fields are empty or 0.
// In the find text a ":" directly followed by another ":" stands for a colon; the first ":"
// followed by anything else ends it, and the rest of the line is the replacement.
TextRuleLine ParseTextRuleLine(const std::string& line);

// Reads an image rule line (its line end already removed). Missing fields are empty or 0.
ImageRuleLine ParseImageRuleLine(const std::string& line);
// The lines the engine prints for an image rule read: "x pos is :…", "y pos is :…",
// "jpeg is :…", "width is :…", "height is :…" (numbers as "%f" writes them), each with "\n".
std::string ImageRuleValuesText(const ImageRuleLine& rule);

// Pixels at 150 dpi to whole points, truncated toward zero.
int PixelsToPoints(int pixels);
// Pixels at 150 dpi to points.
double PixelsToPoints(double pixels);

// `atof` semantics without locale: leading blanks, sign, digits, one "." and an exponent.
double ReadLeadingDouble(const std::string& text);
