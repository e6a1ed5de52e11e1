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

}  // namespace relettra::pdf
