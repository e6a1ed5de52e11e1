// The image reader on arbitrary bytes, as an image rule hands it a file: the format is told by
// the signature, then the JPEG header is read (the file is embedded as it is) or the PNG, BMP or
// GIF is decoded, row-filtered and compressed into an image XObject. The corpus holds seeds of
// every format, so each decoder gets its share of the inputs.
#include <cstddef>
#include <cstdint>
#include <qpdf/QPDF.hh>
#include <string>

#include "pdf/images/container_checks.h"
#include "pdf/images/image_format.h"
#include "pdf/images/image_xobject.h"

namespace {

// Images that claim more pixels than this are left out: decoding tens of millions of pixels is
// within the engine's limits and takes a second or two, but tens of seconds under the fuzzing
// instrumentation, which libFuzzer would take for a hang. The hostile-input suite runs such
// images through the engine itself, with its time limit.
constexpr unsigned long long kMostPixels = 4'000'000;

unsigned long long claimedPixels(const std::string& bytes) {
    std::string error;
    switch (relettra::pdf::detectImageFormat(bytes)) {
        case relettra::pdf::ImageFormat::Png: {
            if (bytes.size() < 24) return 0;
            auto be32 = [&](std::size_t at) {
                unsigned long long v = 0;
                for (std::size_t i = 0; i < 4; ++i)
                    v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
                return v;
            };
            return be32(16) * be32(20);
        }
        case relettra::pdf::ImageFormat::Bmp: {
            const auto header = relettra::pdf::readBmpHeader(bytes, error);
            return header ? 1ULL * header->width * header->height : 0;
        }
        case relettra::pdf::ImageFormat::Gif: {
            const auto header = relettra::pdf::readGifHeader(bytes, error);
            return header ? 1ULL * header->width * header->height : 0;
        }
        default:
            return 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (claimedPixels(bytes) > kMostPixels) {
        return 0;
    }
    QPDF pdf;
    pdf.emptyPDF();
    std::string error;
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
