#pragma once

#include <string>
#include <vector>

#include "pdf/pdf_api.h"

// The text state a collector follows; copied when the graphics state is saved and into every run.
struct TextState {
    const void* font = nullptr;  // the PDF layer's font handle
    double charSpacing = 0;
    double fontSize = 1.0;
    double horizontalScaling = 100;  // percent
    double wordSpacing = 0;
    std::string fontName;
};

// One piece of text shown on the page, in content order.
struct TextRun {
    TextState state;
    std::u16string text;
    double x0 = 0;  // page space, points, y from the bottom
    double x = 0;
    double y = 0;
    std::vector<double> unitX;  // where each code unit starts, along x (empty for inserted spaces)
    double shownSize = 0;       // the font size as the text is shown on the page
};

// Rebuilds the lines of one page from the pieces of text its content shows: pieces on one
// baseline (or running on vertically) join into a line, with one space where the gap between
// them is wider than half a space (with the spacings, scaled); a piece elsewhere starts a new
// line, and the finished line goes to LineFinished.
class PageTextCollector {
  public:
    explicit PageTextCollector(PDF* pdf) : pdf_(pdf) {}
    virtual ~PageTextCollector() = default;

    // A piece of text; `matrix` places its start, `width` is its advance in text space.
    int ShowText(const double matrix[6], const char16_t* text, int length, double width,
                 const double* advances);
    int ShowText(const double matrix[6], const unsigned char* text, int length, double width,
                 const double* advances);
    void RestoreState();
    int SaveState();
    void SetCharSpacing(double value) { state_.charSpacing = value; }
    void SetFont(const char* name, double size, const void* font);
    void SetHorizontalScaling(double percent) { state_.horizontalScaling = percent; }
    void SetWordSpacing(double value) { state_.wordSpacing = value; }

    // Called with each finished line; true stops the parsing of the page.
    virtual bool LineFinished(const std::u16string& line) = 0;

    const std::vector<TextRun>& runs() const { return runs_; }
    const std::u16string& currentLine() const { return line_; }

    // The parse callbacks that forward to a collector passed as their data.
    static const TPDFParseInterface& callbacks();

  private:
    int append(const char16_t* text, int length, double x0, double x, double y, const double* unitX,
               double shownSize);
    void takeSpaceWidth();

    PDF* pdf_;
    TextState state_;
    bool spaceSeen_ = false;
    double halfSpaceWidth_ = 0;
    std::vector<TextState> saved_;
    std::u16string line_;
    double lastEndX_ = -1e8;
    double lastEndY_ = -1e8;
    double lineStartX_ = -1e8;
    std::vector<TextRun> runs_;
};
