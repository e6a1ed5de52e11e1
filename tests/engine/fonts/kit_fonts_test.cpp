// The fonts of the test-PDF kit, as real producers wrote them: every string a page shows
// decodes to the words an independent extractor found there, and encodes back into the same
// font (the glyphs are in use, so they exist) with the same text.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <qpdf/JSON.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <set>

#include "font_test_support.h"
#include "pdf/fonts/font_cache.h"
#include "pdf/fonts/ligature_text.h"

namespace relettra::pdf {
namespace {

const std::string kKitDir = std::string(RELETTRA_TEST_DATA_DIR) + "/kit/";

struct ShownString {
    std::shared_ptr<const PdfFont> font;
    std::string bytes;
};

// Collects the strings of text-showing operators with the font in effect, following form
// XObjects drawn by the content.
class StringCollector : public QPDFObjectHandle::ParserCallbacks {
  public:
    StringCollector(FontCache& cache, QPDFObjectHandle resources, std::vector<ShownString>& out,
                    int depth = 0)
        : cache_(cache), resources_(resources), out_(out), depth_(depth) {}

    void handleObject(QPDFObjectHandle object) override {
        if (!object.isOperator()) {
            operands_.push_back(object);
            return;
        }
        const std::string op = object.getOperatorValue();
        if (op == "Tf" && !operands_.empty() && operands_.front().isName()) {
            auto fonts = resources_.isDictionary() ? resources_.getKey("/Font")
                                                   : QPDFObjectHandle::newNull();
            if (fonts.isDictionary() && fonts.hasKey(operands_.front().getName()))
                font_ = cache_.get(fonts.getKey(operands_.front().getName()));
        } else if ((op == "Tj" || op == "'" || op == "\"") && !operands_.empty()) {
            add(operands_.back());
        } else if (op == "TJ" && !operands_.empty() && operands_.back().isArray()) {
            for (auto item : operands_.back().aitems()) add(item);
        } else if (op == "Do" && !operands_.empty() && depth_ < 8) {
            auto xobjects = resources_.isDictionary() ? resources_.getKey("/XObject")
                                                      : QPDFObjectHandle::newNull();
            auto form = xobjects.isDictionary() ? xobjects.getKey(operands_.back().getName())
                                                : QPDFObjectHandle::newNull();
            if (form.isStream() && form.getDict().getKey("/Subtype").isNameAndEquals("/Form")) {
                auto formResources = form.getDict().getKey("/Resources");
                StringCollector inner(cache_,
                                      formResources.isDictionary() ? formResources : resources_,
                                      out_, depth_ + 1);
                QPDFObjectHandle::parseContentStream(form, &inner);
            }
        }
        operands_.clear();
    }
    void handleEOF() override {}

  private:
    void add(QPDFObjectHandle string) {
        if (string.isString() && font_) out_.push_back({font_, string.getStringValue()});
    }

    FontCache& cache_;
    QPDFObjectHandle resources_;
    std::vector<ShownString>& out_;
    int depth_;
    std::vector<QPDFObjectHandle> operands_;
    std::shared_ptr<const PdfFont> font_;
};

std::string withoutSpaces(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != ' ') out.push_back(c);
    }
    return out;
}

// Manifest words per file and page.
std::map<std::string, std::map<int, std::vector<std::string>>> manifestWords() {
    std::map<std::string, std::map<int, std::vector<std::string>>> result;
    const JSON manifest = JSON::parse(testing::readFile(kKitDir + "MANIFEST.json"));
    manifest.forEachDictItem([&](const std::string& key, JSON files) {
        if (key != "files") return;
        files.forEachDictItem([&](const std::string& file, JSON entry) {
            entry.forEachDictItem([&](const std::string& field, JSON pages) {
                if (field != "pages") return;
                pages.forEachArrayItem([&](JSON page) {
                    std::string number;
                    std::vector<std::string> words;
                    page.forEachDictItem([&](const std::string& pageField, JSON value) {
                        if (pageField == "number") value.getNumber(number);
                        if (pageField != "words") return;
                        value.forEachArrayItem([&](JSON word) {
                            word.forEachDictItem([&](const std::string& wordField, JSON text) {
                                std::string s;
                                if (wordField == "text" && text.getString(s)) words.push_back(s);
                            });
                        });
                    });
                    result[file][std::stoi(number)] = words;
                });
            });
        });
    });
    return result;
}

// Words the independent extractor reads otherwise than the fonts spell them: pdfTeX builds an
// accented letter from an accent glyph and the letter drawn over it (the fonts give "´e"), and
// the extractor shows a large operator that the font's ToUnicode map leaves out as the letter of
// its code.
const std::set<std::pair<std::string, std::string>> kReadOtherwise = {
    {"pdflatex_article.pdf", "cafe\xCC\x81"},
    {"pdflatex_article.pdf", "na\xC4\xB1\xCC\x88ve"},
    {"pdflatex_article.pdf", "Z"},
};

TEST(KitFonts, everyShownString_decodesToExtractedWordsAndEncodesBack) {
    const char* const files[] = {
        "std14_helvetica.pdf",
        "differences.pdf",
        "truetype_winansi.pdf",
        "tj_kerning.pdf",
        "rotated_text.pdf",
        "multipage.pdf",
        "form_xobject.pdf",
        "cairo_text.pdf",
        "reportlab_std.pdf",
        "reportlab_ttf.pdf",
        "ghostscript_type1.pdf",
        "ghostscript_type1c.pdf",
        "libreoffice_letter.pdf",
        "libreoffice_sheet.pdf",
        "pdflatex_article.pdf",
        "groff_memo.pdf",
        "chromium_page.pdf",
        // Text that only numbering glyph names, a /ToUnicode named /Identity-H, the programs'
        // cmaps or the CJK collections' tables tell.
        "tounicode_identity.pdf",
        "type3_numbered_names.pdf",
        "type3_uni_names.pdf",
        "truetype_cmap_only.pdf",
        "cid_collections.pdf",
        "reportlab_cid.pdf",
        "ghostscript_type3.pdf",
        // More producers: CFF CID fonts, CFF simple fonts with ToUnicode, Type 3 fonts named
        // by glyph names, TrueType subsets with /Differences.
        "xelatex_opentype.pdf",
        "lualatex_opentype.pdf",
        "dvipdfmx_article.pdf",
        "pandoc_notes.pdf",
        "enscript_listing.pdf",
        "a2ps_listing.pdf",
        "pdftocairo_memo.pdf",
        "weasyprint_page.pdf",
        "matplotlib_type3.pdf",
        "matplotlib_type42.pdf",
        "qt_textdocument.pdf",
        "fpdf_page.pdf",
        "inkscape_drawing.pdf",
        "mupdf_page.pdf",
        "gnuplot_chart.pdf",
        "libreoffice_slides.pdf",
        "libreoffice_drawing.pdf",
    };
    const auto words = manifestWords();
    for (const char* file : files) {
        SCOPED_TRACE(file);
        QPDF qpdf;
        qpdf.processFile((kKitDir + file).c_str());
        FontCache cache;
        int pageNumber = 0;
        std::size_t stringsChecked = 0;
        for (auto& page : QPDFPageDocumentHelper(qpdf).getAllPages()) {
            ++pageNumber;
            std::vector<ShownString> strings;
            StringCollector collector(cache, page.getAttribute("/Resources", false), strings);
            page.parseContents(&collector);

            std::string pageText;
            for (const auto& shown : strings) {
                const std::string text = shown.font->toUtf8(shown.bytes);
                pageText += text;
                // Qt maps a glyph to the tab character: no text a rule writes, not encoded.
                if (std::any_of(text.begin(), text.end(), [](char c) {
                        return c != 0 && static_cast<unsigned char>(c) < 0x20;
                    })) {
                    continue;
                }
                const auto encoded = shown.font->encode(text);
                ASSERT_TRUE(encoded.has_value()) << shown.font->baseFont() << ": " << text;
                EXPECT_EQ(shown.font->toUtf8(*encoded), text) << shown.font->baseFont();
                ++stringsChecked;
            }
            // Ligature characters spelled out, as the extractor and a rule file spell them.
            const std::string flat = withoutSpaces(spellOutLigatures(pageText));
            const auto filePages = words.find(file);
            ASSERT_NE(filePages, words.end());
            const auto pageWords = filePages->second.find(pageNumber);
            ASSERT_NE(pageWords, filePages->second.end());
            for (const auto& word : pageWords->second) {
                if (kReadOtherwise.count({file, word}) > 0) continue;
                EXPECT_NE(flat.find(spellOutLigatures(word)), std::string::npos)
                    << "page " << pageNumber << " lacks " << word << " in " << pageText;
            }
        }
        EXPECT_GT(stringsChecked, 0u);
        EXPECT_GE(cache.size(), 1u);
    }
}

// Chromium draws the "ff" of "Office" with a glyph of its own, which the font's ToUnicode map
// gives as the ligature character U+FB00: spelled out, "ff" encodes to that glyph.
TEST(KitFonts, ligatureGlyph_encodesItsLettersSpelledOut) {
    QPDF qpdf;
    qpdf.processFile((kKitDir + "chromium_page.pdf").c_str());
    FontCache cache;
    std::vector<ShownString> strings;
    for (auto& page : QPDFPageDocumentHelper(qpdf).getAllPages()) {
        StringCollector collector(cache, page.getAttribute("/Resources", false), strings);
        page.parseContents(&collector);
    }
    int ligatures = 0;
    for (const auto& shown : strings) {
        if (shown.font->toUtf8(shown.bytes) != "\xEF\xAC\x80") continue;
        ++ligatures;
        EXPECT_EQ(spellOutLigatures(shown.font->toUtf8(shown.bytes)), "ff");
        EXPECT_EQ(shown.font->encode("ff"), shown.bytes) << shown.font->baseFont();
    }
    EXPECT_EQ(ligatures, 2);  // Office, Affairs
}

// Subset fonts of these producers hold only the glyphs their document uses: a letter the
// document never shows in such a font must not be encodable in it. (ReportLab is left out:
// its first subset keeps every ASCII glyph, so those letters really are there.)
TEST(KitFonts, subsetFonts_refuseLettersTheDocumentNeverShows) {
    const char* const files[] = {"cairo_text.pdf",         "ghostscript_type1.pdf",
                                 "ghostscript_type1c.pdf", "libreoffice_letter.pdf",
                                 "pdflatex_article.pdf",   "chromium_page.pdf"};
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (const char* file : files) {
        SCOPED_TRACE(file);
        QPDF qpdf;
        qpdf.processFile((kKitDir + file).c_str());
        FontCache cache;
        std::vector<ShownString> strings;
        for (auto& page : QPDFPageDocumentHelper(qpdf).getAllPages()) {
            StringCollector collector(cache, page.getAttribute("/Resources", false), strings);
            page.parseContents(&collector);
        }
        // Letters shown by glyphs of their own (a ligature glyph such as "ffi" holds no "f").
        std::map<const PdfFont*, std::set<char>> shown;
        for (const auto& s : strings) {
            for (const DecodedGlyph& glyph : s.font->decode(s.bytes)) {
                if (glyph.unicode.size() == 1) shown[s.font.get()].insert(glyph.unicode[0]);
            }
        }
        int subsetFonts = 0;
        for (const auto& s : strings) {
            const PdfFont* font = s.font.get();
            if (font->baseFont().find('+') == std::string::npos || !shown.count(font)) continue;
            ++subsetFonts;
            for (char c : alphabet) {
                const bool used = shown[font].count(c) > 0;
                EXPECT_EQ(font->canEncode(static_cast<unsigned char>(c)), used)
                    << font->baseFont() << " '" << c << "'";
            }
            shown.erase(font);  // each font once
        }
        EXPECT_GT(subsetFonts, 0);
    }
}

}  // namespace
}  // namespace relettra::pdf
