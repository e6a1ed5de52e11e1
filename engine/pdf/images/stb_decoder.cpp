#include "pdf/images/stb_decoder.h"

#include <stb_image.h>

#include <climits>
#include <memory>

#include "pdf/images/container_checks.h"

namespace relettra::pdf {

namespace {

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

std::optional<DecodedImage> decodeWithStb(std::string_view bytes, const char* format,
                                          std::string& error) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        error = std::string(format) + " file too large";
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int length = static_cast<int>(bytes.size());
    std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(data, length, &width, &height, &channels, 0));
    if (!pixels) {
        const char* reason = stbi_failure_reason();
        error = std::string("cannot decode the ") + format + " image" +
                (reason ? std::string(": ") + reason : std::string());
        return std::nullopt;
    }
    if (width <= 0 || height <= 0 || channels < 1 || channels > 4) {
        error = std::string("cannot decode the ") + format + " image";
        return std::nullopt;
    }

    DecodedImage image;
    image.width = width;
    image.height = height;
    image.bitsPerComponent = 8;
    image.alphaBits = 8;
    image.color = channels <= 2 ? RasterColor::Gray : RasterColor::Rgb;
    const bool hasAlpha = channels == 2 || channels == 4;
    const std::size_t pixelCount = static_cast<std::size_t>(width) * height;
    const std::size_t colorChannels = hasAlpha ? channels - 1 : channels;
    image.samples.resize(pixelCount * colorChannels);
    if (hasAlpha) {
        image.alpha.resize(pixelCount);
    }
    const stbi_uc* source = pixels.get();
    for (std::size_t i = 0; i < pixelCount; ++i, source += channels) {
        for (std::size_t c = 0; c < colorChannels; ++c) {
            image.samples[i * colorChannels + c] = static_cast<char>(source[c]);
        }
        if (hasAlpha) {
            image.alpha[i] = static_cast<char>(source[colorChannels]);
        }
    }
    dropOpaqueAlpha(image);
    return image;
}

}  // namespace

std::optional<DecodedImage> decodeBmp(std::string_view bytes, std::string& error) {
    const auto header = readBmpHeader(bytes, error);
    if (!header) {
        return std::nullopt;
    }
    // stb decodes to at most four 8-bit channels.
    if (!withinDecodeLimit(header->width, header->height, 4)) {
        error = "BMP image too large";
        return std::nullopt;
    }
    auto image = decodeWithStb(bytes, "BMP", error);
    if (image) {
        image->dpiX = header->dpiX;
        image->dpiY = header->dpiY;
    }
    return image;
}

std::optional<DecodedImage> decodeGif(std::string_view bytes, std::string& error) {
    const auto header = readGifHeader(bytes, error);
    if (!header) {
        return std::nullopt;
    }
    // stb keeps the frame, the previous frame and a per-pixel history: 9 bytes per pixel.
    if (!withinDecodeLimit(header->width, header->height, 9)) {
        error = "GIF image too large";
        return std::nullopt;
    }
    return decodeWithStb(bytes, "GIF", error);
}

}  // namespace relettra::pdf
