#pragma once
// Helpers for the font tests: font dictionaries built in memory with QPDF, real font
// programs from Debian packages, TrueType subsets made with HarfBuzz.

#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

namespace relettra::pdf::testing {

// An empty document that owns every object a test builds.
class TestDocument {
  public:
    TestDocument();
    QPDF& qpdf() { return *qpdf_; }

    // Parses a PDF object; `streams` are made indirect and substituted for "@0", "@1", ...
    // in the text, in that order (each stream object is inserted as an indirect reference).
    QPDFObjectHandle parse(const std::string& text,
                           const std::vector<QPDFObjectHandle>& objects = {});
    // An indirect stream with the given data and dictionary entries (e.g. "<< /Subtype /Type1C
    // >>").
    QPDFObjectHandle stream(const std::string& data, const std::string& dict = "<< >>");

  private:
    std::unique_ptr<QPDF> qpdf_;
};

std::string readFile(const std::string& path);

// A subset of a TrueType font holding the glyphs of the given characters. With retainGids
// the glyph ids stay those of the full font and removed glyphs become empty slots.
std::string subsetTrueType(const std::string& path, const std::u32string& keep, bool retainGids);

// Glyph id of a character in a TrueType font (0 when none).
unsigned glyphIdOf(const std::string& path, char32_t character);

// Four hex digits of a 16-bit value, as in "<0041>".
std::string hex4(unsigned value);

}  // namespace relettra::pdf::testing
