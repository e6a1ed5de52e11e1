#include "pdf/unchanged_input.h"

#include <qpdf/QPDFXRefEntry.hh>

namespace relettra::pdf {

namespace {

bool isPdfWhiteSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

// Reads the decimal number at `at` and the white space after it; false when there is none.
bool readNumber(std::string_view bytes, size_t& at, long long& value) {
    const size_t start = at;
    value = 0;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9' && at - start < 12) {
        value = value * 10 + (bytes[at] - '0');
        ++at;
    }
    if (at == start) return false;
    const size_t digitsEnd = at;
    while (at < bytes.size() && isPdfWhiteSpace(bytes[at])) ++at;
    return at > digitsEnd;
}

bool objectStartsAt(std::string_view bytes, qpdf_offset_t offset, QPDFObjGen id) {
    if (offset < 0 || static_cast<unsigned long long>(offset) >= bytes.size()) return false;
    size_t at = static_cast<size_t>(offset);
    long long number = 0;
    long long generation = 0;
    return readNumber(bytes, at, number) && number == id.getObj() &&
           readNumber(bytes, at, generation) && generation == id.getGen() &&
           bytes.substr(at, 3) == "obj";
}

}  // namespace

bool objectsStandWhereListed(QPDF& pdf, std::string_view fileBytes) {
    for (const auto& [id, entry] : pdf.getXRefTable()) {
        if (entry.getType() == 1 && !objectStartsAt(fileBytes, entry.getOffset(), id)) {
            return false;
        }
    }
    return true;
}

}  // namespace relettra::pdf
