// What a PDF font's names and descriptor tell of its look: the letter form, bold and italic.
#include "pdf/fonts/font_look.h"

#include <gtest/gtest.h>

#include <qpdf/QPDFObjectHandle.hh>

namespace relettra::pdf {
namespace {

constexpr LetterForm kSans = LetterForm::SansSerif;
constexpr LetterForm kSerif = LetterForm::Serif;
constexpr LetterForm kMono = LetterForm::Monospace;

TEST(FontLook, fontDictionaries_tellFormWeightAndSlant) {
    struct Case {
        const char* dictionary;
        TextLook look;
    };
    const Case cases[] = {
        // Standard fonts without a descriptor: the name alone.
        {"<< /Subtype /Type1 /BaseFont /Times-Roman >>", {kSerif, false, false}},
        {"<< /Subtype /Type1 /BaseFont /Helvetica-BoldOblique >>", {kSans, true, true}},
        {"<< /Subtype /Type1 /BaseFont /Courier >>", {kMono, false, false}},
        // Subsets of office and TeX fonts.
        {"<< /Subtype /TrueType /BaseFont /BAAAAA+LiberationSerif-Italic >>",
         {kSerif, false, true}},
        {"<< /Subtype /TrueType /BaseFont /ABCDEF+Arial,Bold >>", {kSans, true, false}},
        {"<< /Subtype /Type1 /BaseFont /SWAKAF+CMBX12 >>", {kSerif, true, false}},
        {"<< /Subtype /Type1 /BaseFont /XYZABC+CMTT10 >>", {kMono, false, false}},
        {"<< /Subtype /Type1 /BaseFont /QJZYVE+LMRoman10-Italic >>", {kSerif, false, true}},
        {"<< /Subtype /Type1 /BaseFont /MinionPro-BoldIt >>", {kSerif, true, true}},
        {"<< /Subtype /TrueType /BaseFont /MonotypeCorsiva >>", {kSans, false, false}},
        // A name that tells nothing: the descriptor's flags, weight and angle.
        {"<< /Subtype /TrueType /BaseFont /F3 /FontDescriptor << /Flags 34 >> >>",
         {kSerif, false, false}},
        {"<< /Subtype /TrueType /BaseFont /F3 /FontDescriptor << /Flags 33 >> >>",
         {kMono, false, false}},
        {"<< /Subtype /TrueType /BaseFont /F3 /FontDescriptor << /Flags 32 /FontWeight 700 "
         "/ItalicAngle -12 >> >>",
         {kSans, true, true}},
        {"<< /Subtype /Type1 /BaseFont /F3 /FontDescriptor << /Flags 262176 >> >>",
         {kSans, true, false}},  // force bold
        {"<< /Subtype /Type1 /BaseFont /F3 /FontDescriptor << /Flags 96 >> >>",
         {kSans, false, true}},  // italic flag
        // The name wins over flags that say otherwise.
        {"<< /Subtype /TrueType /BaseFont /TimesNewRomanPSMT /FontDescriptor << /Flags 32 >> >>",
         {kSerif, false, false}},
        // A Type0 font: its descendant's descriptor.
        {"<< /Subtype /Type0 /BaseFont /F9 /DescendantFonts [ << /FontDescriptor << /FontName "
         "/ABCDEF+NanumMyeongjoBold /Flags 4 >> >> ] >>",
         {kSerif, true, false}},
        {"<< /Subtype /Type3 >>", {kSans, false, false}},
    };
    for (const Case& c : cases) {
        const TextLook look = lookOfFont(QPDFObjectHandle::parse(c.dictionary));
        EXPECT_EQ(static_cast<int>(look.form), static_cast<int>(c.look.form)) << c.dictionary;
        EXPECT_EQ(look.bold, c.look.bold) << c.dictionary;
        EXPECT_EQ(look.italic, c.look.italic) << c.dictionary;
    }
}

}  // namespace
}  // namespace relettra::pdf
