#pragma once

#include <memory>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace relettra::pdf {

// `data` compressed with Flate, quickly rather than tightly: content that a run writes is small,
// and documents are written with stream data kept as it is, so it is compressed here. Throws
// std::runtime_error when it cannot be compressed (beyond 2 GB).
std::shared_ptr<Buffer> compressContent(const std::string& data);
// A new stream holding `data`, Flate-compressed.
QPDFObjectHandle newCompressedStream(QPDF& pdf, const std::string& data);
// Gives an existing stream the content `data`, Flate-compressed.
void replaceWithCompressed(QPDFObjectHandle stream, const std::string& data);

}  // namespace relettra::pdf
