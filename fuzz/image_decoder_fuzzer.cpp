// One image decoder on arbitrary bytes; which one is chosen when the target is built
// (RELETTRA_FUZZ_DECODER: jpeg, png, bmp or gif). A decoded image is also row-filtered the way
// its samples are compressed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/images/jpeg_header.h"
#include "pdf/images/png_decoder.h"
#include "pdf/images/png_predictor.h"
#include "pdf/images/stb_decoder.h"

namespace {

using relettra::pdf::DecodedImage;

std::optional<DecodedImage> decode(std::string_view bytes, std::string& error) {
#if RELETTRA_FUZZ_DECODER_JPEG
    const auto header = relettra::pdf::readJpegHeader(bytes, error);
    if (header && (header->width <= 0 || header->height <= 0)) __builtin_trap();
    return std::nullopt;
#elif RELETTRA_FUZZ_DECODER_PNG
    return relettra::pdf::decodePng(bytes, error);
#elif RELETTRA_FUZZ_DECODER_BMP
    return relettra::pdf::decodeBmp(bytes, error);
#elif RELETTRA_FUZZ_DECODER_GIF
    return relettra::pdf::decodeGif(bytes, error);
#else
#error "RELETTRA_FUZZ_DECODER_<name> names the decoder"
#endif
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto image = decode(std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!image) {
        return 0;
    }
    // Samples as the image XObject compresses them: whole rows, each padded to whole bytes.
    const std::size_t channels = image->color == relettra::pdf::RasterColor::Rgb ? 3 : 1;
    const std::size_t rowBits =
        static_cast<std::size_t>(image->width) * channels * image->bitsPerComponent;
    const std::size_t rowBytes = (rowBits + 7) / 8;
    if (rowBytes == 0 || image->samples.size() != rowBytes * image->height) __builtin_trap();
    if (image->bitsPerComponent >= 8) {
        relettra::pdf::applyPngPredictor(image->samples, rowBytes,
                                         channels * image->bitsPerComponent / 8);
    }
    return 0;
}
