#include "pdf/fonts/pdf_object_access.h"

#include <algorithm>
#include <exception>
#include <qpdf/Buffer.hh>

namespace relettra::pdf {

QPDFObjectHandle dictEntry(QPDFObjectHandle dict, const char* name) {
    if (!dict.isDictionary()) return QPDFObjectHandle::newNull();
    return dict.getKey(name);
}

std::string nameOf(QPDFObjectHandle object) {
    if (!object.isName()) return {};
    std::string name = object.getName();
    if (!name.empty() && name[0] == '/') name.erase(0, 1);
    return name;
}

double numberOf(QPDFObjectHandle object, double fallback) {
    double value = fallback;
    if (object.isNumber() && object.getValueAsNumber(value)) return value;
    return fallback;
}

long long integerOf(QPDFObjectHandle object, long long fallback) {
    const double value = numberOf(object, static_cast<double>(fallback));
    if (!(value > -1e15 && value < 1e15)) return fallback;
    return static_cast<long long>(value);
}

std::uint32_t unsignedOf(QPDFObjectHandle object) {
    return static_cast<std::uint32_t>(std::clamp<long long>(integerOf(object, 0), 0, 0xFFFFFFFFLL));
}

std::string streamBytes(QPDFObjectHandle stream) {
    if (!stream.isStream()) return {};
    try {
        const std::shared_ptr<Buffer> buffer = stream.getStreamData(qpdf_dl_generalized);
        if (!buffer) return {};
        return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace relettra::pdf
