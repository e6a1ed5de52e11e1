#include "pdf/basics/pdf_number.h"

#include <array>
#include <charconv>
#include <cmath>

namespace relettra::pdf {

std::string formatPdfNumber(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    double rounded = std::round(value * 1000.0) / 1000.0;
    if (rounded == 0.0) {
        rounded = 0.0;  // no "-0"
    }
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded,
                                         std::chars_format::fixed, 3);
    if (ec != std::errc()) {
        return "0";
    }
    std::string text(buffer.data(), end);
    const auto dot = text.find('.');
    if (dot != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text;
}

QPDFObjectHandle newPdfNumber(double value) {
    const std::string text = formatPdfNumber(value);
    if (text.find('.') == std::string::npos) {
        long long integer = 0;
        std::from_chars(text.data(), text.data() + text.size(), integer);
        return QPDFObjectHandle::newInteger(integer);
    }
    return QPDFObjectHandle::newReal(text);
}

QPDFMatrix matrixFromArray(QPDFObjectHandle array) {
    if (!array.isArray() || array.getArrayNItems() != 6) {
        return QPDFMatrix();
    }
    double v[6];
    for (int i = 0; i < 6; ++i) {
        QPDFObjectHandle item = array.getArrayItem(i);
        v[i] = item.isNumber() ? item.getNumericValue() : (i == 0 || i == 3 ? 1 : 0);
    }
    return QPDFMatrix(v[0], v[1], v[2], v[3], v[4], v[5]);
}

// The matrix that undoes `m` (the identity when `m` cannot be undone).
QPDFMatrix inverseMatrix(const QPDFMatrix& m) {
    const double det = m.a * m.d - m.b * m.c;
    if (det == 0) {
        return QPDFMatrix();
    }
    return QPDFMatrix(m.d / det, -m.b / det, -m.c / det, m.a / det, (m.c * m.f - m.d * m.e) / det,
                      (m.b * m.e - m.a * m.f) / det);
}

}  // namespace relettra::pdf
