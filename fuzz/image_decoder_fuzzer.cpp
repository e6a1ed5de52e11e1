// The image reader on arbitrary bytes, as an image rule hands it a file: the format is told by
// the signature, then the JPEG header is read (the file is embedded as it is) or the PNG, BMP or
// GIF is decoded, row-filtered and compressed into an image XObject. The corpus holds seeds of
// every format, so each decoder gets its share of the inputs.
#include <cstddef>
#include <cstdint>
#include <qpdf/QPDF.hh>
#include <string>

#include "pdf/images/image_xobject.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QPDF pdf;
    pdf.emptyPDF();
    std::string error;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    auto image = relettra::pdf::makeImageXObject(pdf, bytes, error);
    if (image) {
        // An image that was accepted has a size and a stream.
        if (image->info.pixelWidth <= 0 || image->info.pixelHeight <= 0 ||
            !image->stream.isStream()) {
            __builtin_trap();
        }
    } else if (error.empty()) {
        __builtin_trap();  // a refusal always says why
    }
    return 0;
}
