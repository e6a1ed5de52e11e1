#include "pdf/images/image_xobject.h"

#include <exception>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>

#include "pdf/images/decoded_image.h"
#include "pdf/images/image_format.h"
#include "pdf/images/jpeg_header.h"
#include "pdf/images/png_decoder.h"
#include "pdf/images/png_predictor.h"
#include "pdf/images/stb_decoder.h"

namespace relettra::pdf {

namespace {

std::string deflate(const std::string& data) {
    std::string compressed;
    Pl_String sink("image samples", nullptr, compressed);
    Pl_Flate flate("image deflate", &sink, Pl_Flate::a_deflate);
    flate.writeString(data);
    flate.finish();
    return compressed;
}

QPDFObjectHandle imageDictionary(int width, int height, QPDFObjectHandle colorSpace,
                                 int bitsPerComponent) {
    auto dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(height));
    dict.replaceKey("/ColorSpace", colorSpace);
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(bitsPerComponent));
    return dict;
}

// A stream whose data is already encoded with `filter`.
QPDFObjectHandle encodedStream(QPDF& pdf, QPDFObjectHandle dict, const std::string& data,
                               const char* filter,
                               QPDFObjectHandle decodeParms = QPDFObjectHandle::newNull()) {
    auto stream = QPDFObjectHandle::newStream(&pdf);
    stream.replaceDict(dict);
    stream.replaceStreamData(data, QPDFObjectHandle::newName(filter), decodeParms);
    return stream;
}

// A Flate stream of samples. Samples of whole bytes get PNG row prediction first, which shrinks
// photographs and gradients considerably; palette indices and packed samples do not gain from
// it and are compressed as they are.
QPDFObjectHandle sampleStream(QPDF& pdf, QPDFObjectHandle dict, const std::string& samples,
                              int width, int colors, int bitsPerComponent, bool predict) {
    if (!predict || bitsPerComponent < 8) {
        return encodedStream(pdf, dict, deflate(samples), "/FlateDecode");
    }
    const std::size_t bytesPerPixel = static_cast<std::size_t>(colors) * (bitsPerComponent / 8);
    auto parms = QPDFObjectHandle::newDictionary();
    parms.replaceKey("/Predictor", QPDFObjectHandle::newInteger(15));
    parms.replaceKey("/Colors", QPDFObjectHandle::newInteger(colors));
    parms.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(bitsPerComponent));
    parms.replaceKey("/Columns", QPDFObjectHandle::newInteger(width));
    const std::string predicted =
        applyPngPredictor(samples, bytesPerPixel * static_cast<std::size_t>(width), bytesPerPixel);
    return encodedStream(pdf, dict, deflate(predicted), "/FlateDecode", parms);
}

ImageInfo infoFor(int width, int height, double dpiX, double dpiY) {
    ImageInfo info;
    info.pixelWidth = width;
    info.pixelHeight = height;
    if (dpiX > 0.0 && dpiY > 0.0) {
        info.dpiX = dpiX;
        info.dpiY = dpiY;
    }
    return info;
}

std::optional<ImageXObject> jpegXObject(QPDF& pdf, const std::string& bytes, std::string& error) {
    const auto header = readJpegHeader(bytes, error);
    if (!header) {
        return std::nullopt;
    }
    const char* colorSpace = header->components == 1   ? "/DeviceGray"
                             : header->components == 3 ? "/DeviceRGB"
                                                       : "/DeviceCMYK";
    auto dict =
        imageDictionary(header->width, header->height, QPDFObjectHandle::newName(colorSpace), 8);
    if (header->components == 4 && header->adobeMarker) {
        dict.replaceKey("/Decode", QPDFObjectHandle::parse("[1 0 1 0 1 0 1 0]"));
    }
    ImageXObject result;
    result.stream = encodedStream(pdf, dict, bytes, "/DCTDecode");
    result.info = infoFor(header->width, header->height, header->dpiX, header->dpiY);
    return result;
}

QPDFObjectHandle colorSpaceFor(const DecodedImage& image) {
    switch (image.color) {
        case RasterColor::Gray:
            return QPDFObjectHandle::newName("/DeviceGray");
        case RasterColor::Rgb:
            return QPDFObjectHandle::newName("/DeviceRGB");
        case RasterColor::Indexed:
            break;
    }
    const auto entries = static_cast<int>(image.palette.size() / 3);
    auto indexed = QPDFObjectHandle::newArray();
    indexed.appendItem(QPDFObjectHandle::newName("/Indexed"));
    indexed.appendItem(QPDFObjectHandle::newName("/DeviceRGB"));
    indexed.appendItem(QPDFObjectHandle::newInteger(entries - 1));
    indexed.appendItem(QPDFObjectHandle::newString(image.palette));
    return indexed;
}

ImageXObject rasterXObject(QPDF& pdf, const DecodedImage& image) {
    auto dict =
        imageDictionary(image.width, image.height, colorSpaceFor(image), image.bitsPerComponent);
    ImageXObject result;
    if (!image.alpha.empty()) {
        auto maskDict = imageDictionary(image.width, image.height,
                                        QPDFObjectHandle::newName("/DeviceGray"), image.alphaBits);
        dict.replaceKey("/SMask", sampleStream(pdf, maskDict, image.alpha, image.width, 1,
                                               image.alphaBits, true));
        result.minimumPdfVersion = "1.4";
    }
    if (image.bitsPerComponent == 16 || (!image.alpha.empty() && image.alphaBits == 16)) {
        result.minimumPdfVersion = "1.5";
    }
    const int colors = image.color == RasterColor::Rgb ? 3 : 1;
    result.stream = sampleStream(pdf, dict, image.samples, image.width, colors,
                                 image.bitsPerComponent, image.color != RasterColor::Indexed);
    result.info = infoFor(image.width, image.height, image.dpiX, image.dpiY);
    return result;
}

std::optional<DecodedImage> decodeRaster(ImageFormat format, const std::string& bytes,
                                         std::string& error) {
    switch (format) {
        case ImageFormat::Png:
            return decodePng(bytes, error);
        case ImageFormat::Bmp:
            return decodeBmp(bytes, error);
        case ImageFormat::Gif:
            return decodeGif(bytes, error);
        default:
            break;
    }
    error = bytes.empty() ? "the image data is empty" : "not a JPEG, PNG, BMP or GIF image";
    return std::nullopt;
}

}  // namespace

std::optional<ImageXObject> makeImageXObject(QPDF& pdf, const std::string& bytes,
                                             std::string& error) {
    try {
        const ImageFormat format = detectImageFormat(bytes);
        if (format == ImageFormat::Jpeg) {
            return jpegXObject(pdf, bytes, error);
        }
        const auto decoded = decodeRaster(format, bytes, error);
        if (!decoded) {
            return std::nullopt;
        }
        return rasterXObject(pdf, *decoded);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to decode the image";
    } catch (const std::exception& e) {
        error = std::string("cannot embed the image: ") + e.what();
    } catch (...) {
        error = "cannot embed the image";
    }
    return std::nullopt;
}

}  // namespace relettra::pdf
