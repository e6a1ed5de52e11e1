// Text at any angle: a label set at 30 degrees (one string, or one Tm per glyph) and a label
// whose glyphs follow a curve (each turned on its own) are found from a rule's box as the page
// shows them, around the whole word or around the piece of it a reader cut out, and edited in
// their own font along their old baseline.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::TempDir;
using namespace texttest;

constexpr double kPi = 3.14159265358979323846;
constexpr double kSize = 14;

// Helvetica's advance widths of the letters the labels use, in thousandths of an em.
double advanceOf(char c) {
    static const std::map<char, double> widths = {
        {'S', 667}, {'l', 222}, {'a', 556}, {'n', 556}, {'t', 278}, {'e', 556}, {'d', 556},
        {' ', 278}, {'b', 556}, {'C', 722}, {'u', 556}, {'r', 333}, {'v', 500}};
    return widths.at(c) * kSize / 1000;
}

// One glyph as the page shows it: its origin (bottom-up) and its direction in radians.
struct Glyph {
    char c;
    double x, y, angle;
};

// A label along a straight line at `degrees` from (x, y).
std::vector<Glyph> straightLabel(const std::string& text, double x, double y, double degrees) {
    const double a = degrees * kPi / 180;
    std::vector<Glyph> glyphs;
    for (char c : text) {
        glyphs.push_back({c, x, y, a});
        x += advanceOf(c) * std::cos(a);
        y += advanceOf(c) * std::sin(a);
    }
    return glyphs;
}

// A label along an arc of radius 150 around (300, 250), from 150 degrees on, clockwise.
std::vector<Glyph> curvedLabel(const std::string& text) {
    std::vector<Glyph> glyphs;
    double at = 150 * kPi / 180;
    for (char c : text) {
        glyphs.push_back({c, 300 + 150 * std::cos(at), 250 + 150 * std::sin(at), at - kPi / 2});
        at -= advanceOf(c) / 150;
    }
    return glyphs;
}

std::string number(double v) {
    char out[32];
    std::snprintf(out, sizeof out, "%.4f", v);
    return out;
}

std::string matrix(const Glyph& g) {
    const double c = std::cos(g.angle);
    const double s = std::sin(g.angle);
    return number(c) + " " + number(s) + " " + number(-s) + " " + number(c) + " " + number(g.x) +
           " " + number(g.y) + " Tm ";
}

std::string oneString(const std::vector<Glyph>& glyphs) {
    std::string text;
    for (const Glyph& g : glyphs) text += g.c;
    return "BT /F1 14 Tf " + matrix(glyphs.front()) + "(" + text + ") Tj ET\n";
}

std::string glyphByGlyph(const std::vector<Glyph>& glyphs) {
    std::string content = "BT /F1 14 Tf\n";
    for (const Glyph& g : glyphs) content += matrix(g) + "(" + std::string(1, g.c) + ") Tj\n";
    return content + "ET\n";
}

// The upright box (points, top-down) about the em boxes of glyphs [first, last), a fifth of the
// size below the baseline and four fifths above, as the rule's box.
PointRule ruleAround(const std::vector<Glyph>& glyphs, size_t first, size_t last,
                     const std::string& find, const std::string& replace) {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (size_t i = first; i < last; ++i) {
        const Glyph& g = glyphs[i];
        const double c = std::cos(g.angle);
        const double s = std::sin(g.angle);
        for (double along : {0.0, advanceOf(g.c)}) {
            for (double up : {-0.2 * kSize, 0.8 * kSize}) {
                const double x = g.x + along * c - up * s;
                const double y = 792 - (g.y + along * s + up * c);
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    const int left = static_cast<int>(std::floor(x0));
    const int top = static_cast<int>(std::floor(y0));
    return {1,
            left,
            top,
            static_cast<int>(std::ceil(x1)) - left,
            static_cast<int>(std::ceil(y1)) - top,
            find,
            replace};
}

// The page's text in content order without white space: readers put spaces between glyphs
// that are turned each on its own.
std::string letters(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ' && c != '\n' && c != '\f') out += c;
    }
    return out;
}

std::string rawText(const std::filesystem::path& pdf) {
    return letters(testsupport::runTool("pdftotext", {"-raw", pdf.string(), "-"}).output);
}

struct SlantedCase {
    const char* name;
    std::vector<Glyph> glyphs;
    bool byGlyph;        // one Tm per glyph, else one string
    size_t first, last;  // the glyphs the rule's box is drawn around
    const char* find;
    const char* replace;
    const char* text;  // the label as pdftotext reads it afterwards
};

TEST(SlantedText, wordAtAnAngleOrAlongACurve_isFoundByItsBoxAndEditedInItsFont) {
    const std::vector<Glyph> tilted = straightLabel("Slanted label", 150, 400, 30);
    const std::vector<Glyph> curved = curvedLabel("Curved label");
    const SlantedCase cases[] = {
        {"30 degrees, one string, the whole word", tilted, false, 0, 7, "Slanted", "Tilted",
         "Tilted label"},
        {"30 degrees, one string, a piece a reader cut out", tilted, false, 3, 6, "nte", "ten",
         "Slatend label"},
        {"30 degrees, glyph by glyph, the whole word", tilted, true, 0, 7, "Slanted", "Tilted",
         "Tilted label"},
        {"30 degrees, glyph by glyph, a piece", tilted, true, 3, 6, "nte", "ten", "Slatend label"},
        {"along a curve, the whole word, wider", curved, true, 0, 6, "Curved", "Curving",
         "Curving label"},
        {"along a curve, a piece", curved, true, 2, 4, "rv", "vr", "Cuvred label"},
        {"along a curve, narrower", curved, true, 7, 12, "label", "lab", "Curved lab"},
    };
    for (const SlantedCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto input = dir / "slanted.pdf";
        writeHelveticaPdf(input, "BT /F1 12 Tf 72 700 Td (Reference line) Tj ET\n" +
                                     (c.byGlyph ? glyphByGlyph(c.glyphs) : oneString(c.glyphs)));
        const EngineRun run =
            runTextRules(dir, input, {ruleAround(c.glyphs, c.first, c.last, c.find, c.replace)});
        EXPECT_EQ(run.ruleResults(), std::vector<std::string>{"own font"}) << run.result.output;
        EXPECT_EQ(testsupport::listFonts(run.output).size(), testsupport::listFonts(input).size());
        EXPECT_NE(rawText(run.output).find(letters(c.text)), std::string::npos)
            << rawText(run.output);
        EXPECT_TRUE(testsupport::qpdfCheckPasses(run.output));
    }
}

}  // namespace
