#include "font_test_support.h"

#include <hb-subset.h>
#include <hb.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace relettra::pdf::testing {

TestDocument::TestDocument() : qpdf_(std::make_unique<QPDF>()) {
    qpdf_->emptyPDF();
}

QPDFObjectHandle TestDocument::parse(const std::string& text,
                                     const std::vector<QPDFObjectHandle>& objects) {
    std::string expanded = text;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::string marker = "@" + std::to_string(i);
        const std::string ref = std::to_string(objects[i].getObjectID()) + " " +
                                std::to_string(objects[i].getGeneration()) + " R";
        for (auto pos = expanded.find(marker); pos != std::string::npos;
             pos = expanded.find(marker, pos + ref.size()))
            expanded.replace(pos, marker.size(), ref);
    }
    return qpdf_->makeIndirectObject(QPDFObjectHandle::parse(qpdf_.get(), expanded));
}

QPDFObjectHandle TestDocument::stream(const std::string& data, const std::string& dict) {
    auto stream = QPDFObjectHandle::newStream(qpdf_.get(), data);
    auto entries = QPDFObjectHandle::parse(dict);
    for (const auto& key : entries.getKeys()) stream.getDict().replaceKey(key, entries.getKey(key));
    return stream;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string subsetTrueType(const std::string& path, const std::u32string& keep, bool retainGids) {
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!blob) throw std::runtime_error("cannot read " + path);
    hb_face_t* face = hb_face_create(blob, 0);
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    hb_set_t* unicodes = hb_subset_input_unicode_set(input);
    for (char32_t c : keep) hb_set_add(unicodes, c);
    if (retainGids) hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS);
    hb_face_t* subset = hb_subset_or_fail(face, input);
    std::string result;
    if (subset) {
        hb_blob_t* out = hb_face_reference_blob(subset);
        unsigned length = 0;
        const char* data = hb_blob_get_data(out, &length);
        result.assign(data, length);
        hb_blob_destroy(out);
        hb_face_destroy(subset);
    }
    hb_subset_input_destroy(input);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    if (result.empty()) throw std::runtime_error("subsetting failed for " + path);
    return result;
}

unsigned glyphIdOf(const std::string& path, char32_t character) {
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!blob) return 0;
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(font, character, &glyph)) glyph = 0;
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return glyph;
}

std::string hex4(unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) out[i] = digits[value & 0xF];
    return out;
}

}  // namespace relettra::pdf::testing
