#include "pdf/images/png_decoder.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace relettra::pdf {

namespace {

// Limits on a side that libpng checks while reading the header, before any allocation.
constexpr png_uint_32 kMaxSide = 1u << 20;

// Everything libpng's reading changes. It lives outside the function that calls setjmp, because
// libpng reports errors by longjmp back to that function, which skips C++ destructors and makes
// its non-volatile locals indeterminate.
struct PngSession {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string_view source;
    std::size_t position = 0;
    std::string message;

    std::string pixels;  // rows as libpng delivers them after the transformations below
    std::vector<png_bytep> rows;
    std::size_t rowBytes = 0;
    int channels = 0;
    int bitDepth = 0;
    int colorType = 0;
    std::string palette;
    std::array<unsigned char, 256> paletteAlpha{};
    bool hasPaletteAlpha = false;
    double dpiX = 0.0;
    double dpiY = 0.0;

    ~PngSession() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

void onPngError(png_structp png, png_const_charp message) {
    auto* session = static_cast<PngSession*>(png_get_error_ptr(png));
    try {
        session->message = message ? message : "unknown error";
    } catch (...) {
        // Keep whatever message there was; the jump below must happen regardless.
    }
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* session = static_cast<PngSession*>(png_get_io_ptr(png));
    if (count > session->source.size() - session->position) {
        png_error(png, "the file is truncated");
    }
    std::memcpy(out, session->source.data() + session->position, count);
    session->position += count;
}

void readPalette(PngSession& s) {
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(s.png, s.info, &entries, &count) == 0 || count <= 0) {
        png_error(s.png, "the palette is missing");
    }
    s.palette.resize(static_cast<std::size_t>(count) * 3);
    for (int i = 0; i < count; ++i) {
        s.palette[3 * i] = static_cast<char>(entries[i].red);
        s.palette[3 * i + 1] = static_cast<char>(entries[i].green);
        s.palette[3 * i + 2] = static_cast<char>(entries[i].blue);
    }
    s.paletteAlpha.fill(0xFF);
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    if (png_get_tRNS(s.png, s.info, &alpha, &alphaCount, nullptr) != 0 && alpha) {
        for (int i = 0; i < alphaCount && i < 256; ++i) {
            s.paletteAlpha[i] = alpha[i];
        }
        s.hasPaletteAlpha = true;
    }
}

void readPhysicalSize(PngSession& s) {
    png_uint_32 x = 0;
    png_uint_32 y = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (png_get_pHYs(s.png, s.info, &x, &y, &unit) != 0 && unit == PNG_RESOLUTION_METER && x > 0 &&
        y > 0) {
        s.dpiX = x * 0.0254;
        s.dpiY = y * 0.0254;
    }
}

// Runs libpng over the whole file; false after a libpng error (message in s.message).
// Only plain values live in this frame, see PngSession.
bool runLibpng(PngSession& s) {
    if (setjmp(png_jmpbuf(s.png))) {
        return false;
    }
    png_set_user_limits(s.png, kMaxSide, kMaxSide);
    png_read_info(s.png, s.info);

    s.colorType = png_get_color_type(s.png, s.info);
    const bool hasTrns = png_get_valid(s.png, s.info, PNG_INFO_tRNS) != 0;
    if (s.colorType == PNG_COLOR_TYPE_PALETTE) {
        readPalette(s);
        if (s.hasPaletteAlpha) {
            png_set_packing(s.png);  // one byte per index, to look up the alpha
        }
    } else if (hasTrns) {
        png_set_tRNS_to_alpha(s.png);  // the colour key becomes an alpha channel
    }
    png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);

    const png_uint_32 height = png_get_image_height(s.png, s.info);
    s.channels = png_get_channels(s.png, s.info);
    s.bitDepth = png_get_bit_depth(s.png, s.info);
    s.rowBytes = png_get_rowbytes(s.png, s.info);
    if (!withinPixelLimit(png_get_image_width(s.png, s.info), height) ||
        !withinByteLimit(static_cast<long long>(s.rowBytes), height)) {
        png_error(s.png, "the image is too large");
    }
    s.pixels.resize(s.rowBytes * height);
    s.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        s.rows[y] = reinterpret_cast<png_bytep>(&s.pixels[y * s.rowBytes]);
    }
    png_read_image(s.png, s.rows.data());
    readPhysicalSize(s);
    return true;
}

// Moves the last of `channels` interleaved channels of `bytesPerSample` bytes into `alpha`.
void splitAlpha(const std::string& interleaved, int channels, int bytesPerSample,
                std::string& color, std::string& alpha) {
    const std::size_t pixelBytes = static_cast<std::size_t>(channels) * bytesPerSample;
    const std::size_t colorBytes = pixelBytes - bytesPerSample;
    const std::size_t pixels = interleaved.size() / pixelBytes;
    color.resize(pixels * colorBytes);
    alpha.resize(pixels * bytesPerSample);
    for (std::size_t i = 0; i < pixels; ++i) {
        const char* pixel = interleaved.data() + i * pixelBytes;
        std::memcpy(&color[i * colorBytes], pixel, colorBytes);
        std::memcpy(&alpha[i * bytesPerSample], pixel + colorBytes, bytesPerSample);
    }
}

}  // namespace

std::optional<DecodedImage> decodePng(std::string_view bytes, std::string& error) {
    PngSession s;
    s.source = bytes;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, onPngError, onPngWarning);
    if (s.png) {
        s.info = png_create_info_struct(s.png);
    }
    if (!s.png || !s.info) {
        error = "cannot start the PNG decoder";
        return std::nullopt;
    }
    png_set_read_fn(s.png, &s, readFromMemory);
    if (!runLibpng(s)) {
        error = "damaged PNG file: " + s.message;
        return std::nullopt;
    }

    DecodedImage image;
    image.width = static_cast<int>(png_get_image_width(s.png, s.info));
    image.height = static_cast<int>(png_get_image_height(s.png, s.info));
    image.bitsPerComponent = s.bitDepth;
    image.dpiX = s.dpiX;
    image.dpiY = s.dpiY;
    s.rows.clear();
    if (s.colorType == PNG_COLOR_TYPE_PALETTE) {
        image.color = RasterColor::Indexed;
        image.palette = std::move(s.palette);
        image.samples = std::move(s.pixels);
        if (s.hasPaletteAlpha) {
            image.alpha.resize(image.samples.size());
            for (std::size_t i = 0; i < image.samples.size(); ++i) {
                image.alpha[i] =
                    static_cast<char>(s.paletteAlpha[static_cast<unsigned char>(image.samples[i])]);
            }
        }
    } else {
        const bool hasAlpha = s.channels == 2 || s.channels == 4;
        image.color = s.channels <= 2 ? RasterColor::Gray : RasterColor::Rgb;
        if (hasAlpha) {
            splitAlpha(s.pixels, s.channels, s.bitDepth == 16 ? 2 : 1, image.samples, image.alpha);
            image.alphaBits = s.bitDepth;
        } else {
            image.samples = std::move(s.pixels);
        }
    }
    dropOpaqueAlpha(image);
    return image;
}

}  // namespace relettra::pdf
