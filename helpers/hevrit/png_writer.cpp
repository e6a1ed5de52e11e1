#include "png_writer.h"

#include <spng.h>

#include <cstdlib>
#include <memory>

namespace {

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
struct BufferDeleter {
    void operator()(void* buffer) const { std::free(buffer); }
};

}  // namespace

std::string encodePng(const RgbView& image) {
    if (image.data == nullptr || image.width < 1 || image.height < 1 ||
        image.stride < static_cast<size_t>(image.width) * 3) {
        return {};
    }
    std::unique_ptr<spng_ctx, ContextDeleter> context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) {
        return {};
    }
    spng_ctx* ctx = context.get();
    spng_ihdr header{};
    header.width = static_cast<uint32_t>(image.width);
    header.height = static_cast<uint32_t>(image.height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    const size_t rowBytes = static_cast<size_t>(image.width) * 3;
    if (spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1) != 0 || spng_set_ihdr(ctx, &header) != 0 ||
        spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 1) != 0 ||
        spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE) != 0 ||
        spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG,
                          SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE) != 0) {
        return {};
    }
    for (int y = 0; y < image.height; ++y) {
        const int status = spng_encode_row(ctx, image.data + y * image.stride, rowBytes);
        if (status == SPNG_EOI) break;
        if (status != 0) return {};
    }
    size_t length = 0;
    int error = 0;
    std::unique_ptr<void, BufferDeleter> buffer(spng_get_png_buffer(ctx, &length, &error));
    if (!buffer || error != 0) {
        return {};
    }
    return std::string(static_cast<const char*>(buffer.get()), length);
}
