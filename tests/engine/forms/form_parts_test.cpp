// The parts of a form-field edit that need no document on disk: reading /DA, laying out a
// value in its box, and walking the field tree (inheritance, widgets, signatures).

#include <gtest/gtest.h>

#include <qpdf/QPDF.hh>
#include <string>
#include <vector>

#include "pdf/forms/default_appearance.h"
#include "pdf/forms/field_layout.h"
#include "pdf/forms/field_tree.h"

namespace {

using namespace relettra::pdf;
using OH = QPDFObjectHandle;

TEST(DefaultAppearance, operatorsRead_fontSizeAndColourApart) {
    struct Case {
        const char* da;
        const char* font;
        double size;
        const char* colour;
    };
    const Case cases[] = {
        {"/Helv 12 Tf 0 g", "Helv", 12, "0 g"},
        {"0 0 1 rg /F1 0 Tf", "F1", 0, "0 0 1 rg"},  // size 0: fitted to the field
        {"/A#20B 9 Tf", "A B", 9, ""},               // an escaped name
        {"12 Tf 0 g", "", 0, "0 g"},                 // a Tf without a font sets none
        {"/F2 -4 Tf", "F2", 0, ""},                  // a negative size counts as automatic
        {"", "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.da);
        const DefaultAppearance da = parseDefaultAppearance(c.da);
        EXPECT_EQ(da.fontName, c.font);
        EXPECT_DOUBLE_EQ(da.fontSize, c.size);
        EXPECT_EQ(da.colour, c.colour);
    }
    EXPECT_EQ(formatDefaultAppearance({"RelF1", 10.5, "0 0 1 rg"}), "0 0 1 rg /RelF1 10.5 Tf");
    EXPECT_EQ(formatDefaultAppearance({"A B", 9, ""}), "/A#20B 9 Tf");
}

// Every character half an em wide.
double halfEm(const std::string& text) {
    return 0.5 * static_cast<double>(text.size());
}

FieldLayoutStyle box(double width, double height, double size) {
    FieldLayoutStyle style;
    style.width = width;
    style.height = height;
    style.padding = 2;
    style.fontSize = size;
    style.ascent = 0.75;
    style.descent = -0.25;
    return style;
}

TEST(FieldLayout, quaddingPlacesTheLine_leftCentredRight) {
    // "abcd" at 10 points is 20 wide in a box 100 wide.
    const double expected[] = {2, 40, 78};
    for (int quadding = 0; quadding < 3; ++quadding) {
        FieldLayoutStyle style = box(100, 20, 10);
        style.quadding = quadding;
        const FieldLayout layout = layOutFieldValue("abcd", style, halfEm);
        ASSERT_EQ(layout.pieces.size(), 1u);
        EXPECT_DOUBLE_EQ(layout.pieces[0].x, expected[quadding]) << quadding;
        // Centred across the box's height: (20 - 10) / 2 above the descent.
        EXPECT_DOUBLE_EQ(layout.pieces[0].y, 7.5);
    }
}

TEST(FieldLayout, automaticSize_fitsHeightThenWidth) {
    const FieldLayout tall = layOutFieldValue("ab", box(100, 27, 0), halfEm);
    EXPECT_DOUBLE_EQ(tall.fontSize, 20);  // 27 / 1.35
    // 40 characters at 20 points would be 400 wide: the size shrinks to fit 96.
    const FieldLayout wide = layOutFieldValue(std::string(40, 'x'), box(100, 27, 0), halfEm);
    EXPECT_NEAR(wide.fontSize, 96.0 / 20, 1e-9);
}

TEST(FieldLayout, combCells_eachCharacterCentredInItsCell) {
    FieldLayoutStyle style = box(80, 20, 10);
    style.combCells = 8;
    style.quadding = 2;  // a comb field ignores quadding
    const FieldLayout layout = layOutFieldValue(
        "A\xC3\x84"
        "B",
        style, halfEm);
    ASSERT_EQ(layout.pieces.size(), 3u);
    EXPECT_EQ(layout.pieces[1].text, "\xC3\x84");
    EXPECT_EQ(layout.pieces[1].begin, 1u);
    // Cells 10 wide; "A" 5 wide stands 2.5 into the first cell.
    EXPECT_DOUBLE_EQ(layout.pieces[0].x, 2.5);
    EXPECT_DOUBLE_EQ(layout.pieces[2].x, 22.5);
}

TEST(FieldLayout, multiline_breaksAtSpacesAndLineBreaks_longWordsInside) {
    struct Case {
        const char* value;
        std::vector<std::string> lines;
    };
    // Room for 9 characters a line (50 - 2 * 2 = 46 wide, 5 a character at 10 points).
    const Case cases[] = {
        {"one two three four", {"one two", "three", "four"}},
        {"first\nsecond\r\nthird", {"first", "second", "third"}},
        {"abcdefghijklmnop", {"abcdefghi", "jklmnop"}},
        {"a  b", {"a  b"}},
        {"", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        FieldLayoutStyle style = box(50, 100, 10);
        style.multiline = true;
        const FieldLayout layout = layOutFieldValue(c.value, style, halfEm);
        std::vector<std::string> lines;
        for (const PlacedText& piece : layout.pieces) lines.push_back(piece.text);
        EXPECT_EQ(lines, c.lines);
        for (size_t i = 0; i < layout.pieces.size(); ++i) {
            EXPECT_EQ(std::string(c.value).substr(layout.pieces[i].begin, lines[i].size()),
                      lines[i]);
            if (i > 0) {
                EXPECT_DOUBLE_EQ(layout.pieces[i - 1].y - layout.pieces[i].y, 11.5);
            }
        }
    }
    // Automatic size: the largest from 12 down at which every line fits the box's height.
    FieldLayoutStyle small = box(200, 30, 0);
    small.multiline = true;
    const FieldLayout fitted = layOutFieldValue("a\nb\nc", small, halfEm);
    EXPECT_LE(3 * fitted.fontSize * 1.15, 26.0);
    EXPECT_GT(3 * (fitted.fontSize + 0.5) * 1.15, 26.0);
}

TEST(FieldLayout, textBox_coversTheBytesWhereTheyAreDrawn) {
    FieldLayoutStyle style = box(100, 20, 10);
    const FieldLayout layout = layOutFieldValue("ab cd", style, halfEm);
    double found[4];
    ASSERT_TRUE(textBoxInLayout(layout, style, 3, 5, halfEm, found));
    EXPECT_DOUBLE_EQ(found[0], 2 + 15);
    EXPECT_DOUBLE_EQ(found[2], 2 + 25);
    EXPECT_DOUBLE_EQ(found[1], 7.5 - 2.5);
    EXPECT_DOUBLE_EQ(found[3], 7.5 + 7.5);
    EXPECT_FALSE(textBoxInLayout(layout, style, 7, 9, halfEm, found));
}

class FieldTree : public testing::Test {
  protected:
    void SetUp() override { pdf_.emptyPDF(); }
    OH dict(std::initializer_list<std::pair<const char*, OH>> entries) {
        return newDict(pdf_, entries);
    }
    OH widget() { return dict({{"/Subtype", OH::newName("/Widget")}}); }
    static OH newDict(QPDF& pdf, std::initializer_list<std::pair<const char*, OH>> entries) {
        OH d = pdf.makeIndirectObject(OH::newDictionary());
        for (const auto& [key, value] : entries) d.replaceKey(key, value);
        return d;
    }
    QPDF pdf_;
};

TEST_F(FieldTree, attributesInherited_nearestFirst_loopsEnd) {
    OH root = dict({{"/T", OH::newString("root")},
                    {"/V", OH::newString("from root")},
                    {"/DA", OH::newString("/Helv 9 Tf")}});
    OH field = dict(
        {{"/T", OH::newString("kid")}, {"/Parent", root}, {"/DA", OH::newString("/Helv 12 Tf")}});
    OH kid = widget();
    kid.replaceKey("/Parent", field);
    EXPECT_EQ(inheritedAttribute(kid, "/V").getUTF8Value(), "from root");
    EXPECT_EQ(inheritedAttribute(kid, "/DA").getUTF8Value(), "/Helv 12 Tf");
    EXPECT_FALSE(inheritedAttribute(kid, "/Q").isInitialized());
    EXPECT_TRUE(terminalField(kid).isSameObjectAs(field));
    EXPECT_TRUE(terminalField(field).isSameObjectAs(field));  // a named widget is its own field
    // A parent chain that loops back ends instead of running for ever.
    root.replaceKey("/Parent", kid);
    EXPECT_FALSE(inheritedAttribute(kid, "/Q").isInitialized());
    EXPECT_TRUE(terminalField(kid).isSameObjectAs(field));
}

TEST_F(FieldTree, widgetsOfAField_itselfAndUnnamedWidgetKids) {
    OH field = dict({{"/T", OH::newString("f")}});
    OH a = widget();
    OH b = widget();
    OH namedKid = widget();
    namedKid.replaceKey("/T", OH::newString("own field"));
    field.replaceKey("/Kids", OH::newArray({a, b, namedKid, a}));  // a listed twice
    const std::vector<OH> widgets = widgetsOf(field);
    ASSERT_EQ(widgets.size(), 2u);
    EXPECT_TRUE(widgets[0].isSameObjectAs(a));
    EXPECT_TRUE(widgets[1].isSameObjectAs(b));
    OH merged = widget();
    merged.replaceKey("/T", OH::newString("merged"));
    ASSERT_EQ(widgetsOf(merged).size(), 1u);
}

TEST_F(FieldTree, signedDocument_bySigFlagsSignedFieldOrPermissions) {
    struct Case {
        const char* name;
        bool sigFlags;
        bool signatureValue;
        bool perms;
        bool isSigned;
    };
    const Case cases[] = {
        {"an unsigned signature field", false, false, false, false},
        {"SigFlags", true, false, false, true},
        {"a signature field with a value", false, true, false, true},
        {"DocMDP permissions", false, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPDF pdf;
        pdf.emptyPDF();
        const auto make = [&pdf](std::initializer_list<std::pair<const char*, OH>> entries) {
            return newDict(pdf, entries);
        };
        OH sigField = make({{"/FT", OH::newName("/Sig")}, {"/T", OH::newString("s")}});
        if (c.signatureValue) sigField.replaceKey("/V", make({{"/Type", OH::newName("/Sig")}}));
        // The signature field is a kid of a plain parent: the walk goes down /Kids.
        OH parent = make({{"/T", OH::newString("p")}, {"/Kids", OH::newArray({sigField})}});
        sigField.replaceKey("/Parent", parent);
        OH form = make({{"/Fields", OH::newArray({parent})}});
        if (c.sigFlags) form.replaceKey("/SigFlags", OH::newInteger(3));
        pdf.getRoot().replaceKey("/AcroForm", form);
        if (c.perms) {
            pdf.getRoot().replaceKey("/Perms",
                                     make({{"/DocMDP", make({{"/Type", OH::newName("/Sig")}})}}));
        }
        EXPECT_EQ(documentIsSigned(pdf), c.isSigned);
    }
}

}  // namespace
