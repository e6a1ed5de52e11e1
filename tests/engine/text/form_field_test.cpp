// Rules on the values of filled form fields, in forms of real producers (ReportLab, LibreOffice
// Writer, pdfLaTeX with hyperref) and of the kit writer: the field's value changes, every widget
// shows it in the field's font (or in the fallback fonts the form then holds), and signed
// documents and fields that are not plain text keep theirs. Outputs are read back with
// pdftotext, pdffonts, qpdf --check and QPDF's form reader.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>
#include <string>
#include <vector>

#include "text_test_support.h"

namespace {

using testsupport::TempDir;
using testsupport::Word;
using namespace texttest;
namespace fs = std::filesystem;

// The value of the terminal field of that fully qualified name, "<none>" when there is none.
std::string fieldValue(const fs::path& pdf, const std::string& name) {
    QPDF document;
    document.processFile(pdf.string().c_str());
    QPDFAcroFormDocumentHelper form(document);
    for (QPDFFormFieldObjectHelper& field : form.getFormFields()) {
        if (field.getFullyQualifiedName() == name) return field.getValueAsString();
    }
    return "<none>";
}

// Whether the form's /DR holds the font that the field's /DA names.
bool formHoldsFieldFont(const fs::path& pdf, const std::string& name) {
    QPDF document;
    document.processFile(pdf.string().c_str());
    QPDFAcroFormDocumentHelper form(document);
    QPDFObjectHandle fonts = document.getRoot().getKey("/AcroForm").getKey("/DR").getKey("/Font");
    for (QPDFFormFieldObjectHelper& field : form.getFormFields()) {
        if (field.getFullyQualifiedName() != name) continue;
        const std::string da = field.getDefaultAppearance();
        const size_t slash = da.find('/');
        const size_t end = da.find(' ', slash);
        return slash != std::string::npos && fonts.isDictionary() &&
               fonts.getKey(da.substr(slash, end - slash)).isDictionary();
    }
    return false;
}

// The /BaseFont names of the fonts in the form's /DR.
std::vector<std::string> formFontNames(const fs::path& pdf) {
    QPDF document;
    document.processFile(pdf.string().c_str());
    std::vector<std::string> names;
    QPDFObjectHandle fonts = document.getRoot().getKey("/AcroForm").getKey("/DR").getKey("/Font");
    if (!fonts.isDictionary()) return names;
    for (const std::string& key : fonts.getKeys()) {
        QPDFObjectHandle base = fonts.getKey(key).getKey("/BaseFont");
        if (base.isName()) names.push_back(base.getName().substr(1));
    }
    return names;
}

struct FieldCase {
    const char* file;
    const char* find;
    int occurrence;  // which word of that text on the page, from 0
    const char* replace;
    const char* field;
    const char* value;  // the field's value afterwards
};

struct FieldRun {
    EngineRun run;
    std::vector<Word> before;
    std::vector<Word> after;
};

FieldRun applyFieldRule(const TempDir& dir, const FieldCase& c) {
    FieldRun out;
    const fs::path input = testsupport::kitDir() / c.file;
    out.before = testsupport::extractWords(input);
    const std::vector<Word> found = wordsNamed(out.before, 1, c.find);
    if (found.size() <= static_cast<size_t>(c.occurrence)) {
        ADD_FAILURE() << c.find << " is not on the page: " << pageWords(out.before, 1);
        return out;
    }
    out.run = runTextRules(dir, input, {ruleForBox(found[c.occurrence], c.find, c.replace)});
    out.after = testsupport::extractWords(out.run.output);
    return out;
}

TEST(FormFieldRules, textFieldValue_changedAndShownInTheFieldsFont) {
    const FieldCase cases[] = {
        {"reportlab_form.pdf", "Schmidt", 0, "Schneider", "name", "Anna Schneider"},
        {"reportlab_form.pdf", "Berlin", 0, "Bonn", "city", "Bonn Mitte"},  // Times
        {"reportlab_form.pdf", "Monday", 0, "Tuesday", "notes",
         "Delivery on Tuesday\nRing the bell twice"},  // multi-line
        {"libreoffice_form.pdf", "Meyer", 0, "Schulze", "surname", "Schulze"},
        {"pdflatex_form.pdf", "Garden", 0, "Watering", "product", "Watering hose 25 m"},
        {"form_fields.pdf", "Missing", 0, "Present", "undrawn", "Present appearance"},  // no /AP
        {"form_fields.pdf", "Upward", 0, "Downward", "turned", "Downward"},             // /MK /R 90
        // One field, two widgets: both show the new value.
        {"form_fields.pdf", "REF-2024-001", 1, "REF-2025-777", "reference", "REF-2025-777"},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.find);
        TempDir dir;
        const FieldRun r = applyFieldRule(dir, c);
        EXPECT_EQ(r.run.ruleResults(), std::vector<std::string>{"own font: form field"})
            << r.run.result.output;
        EXPECT_EQ(fieldValue(r.run.output, c.field), c.value);
        EXPECT_EQ(wordsNamed(r.after, 1, c.replace).size(), wordsNamed(r.before, 1, c.find).size())
            << pageWords(r.after, 1);
        EXPECT_TRUE(wordsNamed(r.after, 1, c.find).empty()) << pageWords(r.after, 1);
        // No font is new to the document: a font that readers list only now is one the form
        // held for its fields (a field that had no appearance before shows one).
        const std::vector<std::string> formFonts = formFontNames(testsupport::kitDir() / c.file);
        for (const testsupport::FontRow& row :
             addedFonts(testsupport::listFonts(testsupport::kitDir() / c.file),
                        testsupport::listFonts(r.run.output))) {
            EXPECT_NE(std::find(formFonts.begin(), formFonts.end(), row.name), formFonts.end())
                << row.name;
        }
        EXPECT_TRUE(testsupport::qpdfCheckPasses(r.run.output));
    }
}

TEST(FormFieldRules, combField_eachCharacterInACellOfItsOwn) {
    TempDir dir;
    const FieldRun r =
        applyFieldRule(dir, {"reportlab_form.pdf", "KX417203", 0, "QZ9", "code", ""});
    EXPECT_EQ(r.run.ruleResults(), std::vector<std::string>{"own font: form field"});
    EXPECT_EQ(fieldValue(r.run.output, "code"), "QZ9");
    // The field is 160 wide in 8 cells: the characters stand 20 apart.
    std::vector<double> lefts;
    for (const char* character : {"Q", "Z", "9"}) {
        const std::optional<Word> word = uniqueWord(r.after, 1, character);
        ASSERT_TRUE(word.has_value()) << character << ": " << pageWords(r.after, 1);
        lefts.push_back((word->xMin + word->xMax) / 2);
    }
    EXPECT_NEAR(lefts[1] - lefts[0], 20, 0.5);
    EXPECT_NEAR(lefts[2] - lefts[1], 20, 0.5);
    EXPECT_TRUE(testsupport::qpdfCheckPasses(r.run.output));
}

TEST(FormFieldRules, fieldFontCannotShowValue_fallbackFontAddedToTheForm) {
    struct Case {
        FieldCase field;
        const char* reason;
    };
    const Case cases[] = {
        {{"libreoffice_form.pdf", "Meyer", 0, "\xD0\x96\xD1\x83\xD0\xBA\xD0\xBE\xD0\xB2", "surname",
          "\xD0\x96\xD1\x83\xD0\xBA\xD0\xBE\xD0\xB2"},
         "the font Helvetica has no glyph for \"\xD0\x96\" (U+0416)"},
        // The field's /DA names a font that neither the form nor its appearance holds; the
        // label "Unknown font" on the field's line keeps its word.
        {{"form_fields.pdf", "Unknown", 1, "Known", "unknown", "Known face"},
         "the form holds no font F9, which the form field names"},
        {{"form_fields.pdf", "Plain", 0, "Simple", "plain", "Simple words"},
         "the form field names no font (it has no default appearance)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field.file) + ": " + c.field.find);
        TempDir dir;
        const FieldRun r = applyFieldRule(dir, c.field);
        EXPECT_EQ(r.run.ruleResults(),
                  std::vector<std::string>{std::string("fallback font: form field: ") + c.reason})
            << r.run.result.output;
        EXPECT_EQ(fieldValue(r.run.output, c.field.field), c.field.value);
        EXPECT_EQ(wordsNamed(r.after, 1, c.field.replace).size(), 1u) << pageWords(r.after, 1);
        EXPECT_EQ(wordsNamed(r.after, 1, c.field.find).size(),
                  wordsNamed(r.before, 1, c.field.find).size() - 1);
        const std::vector<testsupport::FontRow> added =
            addedFonts(testsupport::listFonts(testsupport::kitDir() / c.field.file),
                       testsupport::listFonts(r.run.output));
        ASSERT_EQ(added.size(), 1u);
        EXPECT_TRUE(isFallbackFontRow(added.front())) << added.front().name;
        EXPECT_TRUE(formHoldsFieldFont(r.run.output, c.field.field));
        EXPECT_TRUE(testsupport::qpdfCheckPasses(r.run.output));
    }
}

TEST(FormFieldRules, signedOrNotPlainTextField_refusedAndLeftAsItWas) {
    struct Case {
        FieldCase field;  // `value` is the value the field keeps
        const char* result;
    };
    const Case cases[] = {
        {{"form_signed.pdf", "Lindqvist", 0, "Berg", "signer", "Ida Lindqvist"},
         "not done: the document is signed; a change would break its signature"},
        {{"reportlab_form.pdf", "1250", 0, "900", "total", "1250 EUR"},
         "not done: the form field at this place is read-only"},
        {{"reportlab_form.pdf", "Blue", 0, "Red", "colour", "Blue"},
         "not done: the form field at this place is a list or combo box, whose value rules do "
         "not change"},
        {{"reportlab_form.pdf", "KX417203", 0, "KX4172039", "code", "KX417203"},
         "not done: the new value has 9 characters, more than the form field's limit of 8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field.file) + ": " + c.field.find);
        TempDir dir;
        const FieldRun r = applyFieldRule(dir, c.field);
        EXPECT_EQ(r.run.ruleResults(), std::vector<std::string>{c.result}) << r.run.result.output;
        EXPECT_EQ(r.run.changeResults(), std::vector<int>{0});
        EXPECT_EQ(fieldValue(r.run.output, c.field.field), c.field.value);
        EXPECT_EQ(pageWords(r.after, 1), pageWords(r.before, 1));
        EXPECT_TRUE(testsupport::qpdfCheckPasses(r.run.output));
    }
}

TEST(FormFieldRules, inheritedValue_setOnTheFieldAloneItsSiblingKeepsTheParents) {
    TempDir dir;
    const FieldRun r =
        applyFieldRule(dir, {"form_fields.pdf", "Shared", 0, "Own", "group.first", ""});
    EXPECT_EQ(r.run.ruleResults(), std::vector<std::string>{"own font: form field"});
    EXPECT_EQ(fieldValue(r.run.output, "group.first"), "Own default");
    EXPECT_EQ(fieldValue(r.run.output, "group.second"), "Shared default");
    EXPECT_EQ(wordsNamed(r.after, 1, "Shared").size(), 1u) << pageWords(r.after, 1);
    EXPECT_EQ(wordsNamed(r.after, 1, "Own").size(), 1u);
    QPDF output;
    output.processFile(r.run.output.string().c_str());
    QPDFObjectHandle group = output.getRoot().getKey("/AcroForm").getKey("/Fields").getArrayItem(1);
    EXPECT_EQ(group.getKey("/V").getUTF8Value(), "Shared default");
}

}  // namespace
