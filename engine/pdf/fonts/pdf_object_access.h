#pragma once
// Tolerant readers of PDF objects: a missing or mistyped entry gives the fallback instead of
// a QPDF type warning or exception.

#include <cstdint>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace relettra::pdf {

// Dictionary entry (name with its leading '/'), null when dict is not a dictionary.
QPDFObjectHandle dictEntry(QPDFObjectHandle dict, const char* name);

// A name without its leading '/', "" when the object is no name.
std::string nameOf(QPDFObjectHandle object);

double numberOf(QPDFObjectHandle object, double fallback);

// A number read as an integer; absurd values give the fallback instead of overflowing.
long long integerOf(QPDFObjectHandle object, long long fallback);

// A non-negative 32-bit value (CIDs), clamped.
std::uint32_t unsignedOf(QPDFObjectHandle object);

// Decoded stream bytes, "" when the object is no stream or its data cannot be decoded.
std::string streamBytes(QPDFObjectHandle stream);

}  // namespace relettra::pdf
