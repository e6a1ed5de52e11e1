#pragma once

#include <optional>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

#include "pdf/images/image_info.h"
#include "pdf/images/placed_size.h"

namespace relettra::pdf {

// An image XObject stream that belongs to one QPDF document, ready to be named in a page's
// /Resources /XObject dictionary and drawn with `q w 0 0 h x y cm /ImN Do Q`.
struct ImageXObject {
    QPDFObjectHandle stream;
    ImageInfo info;
    // The lowest PDF version that can show the image: "1.3" in general, "1.4" when it carries
    // an /SMask (transparency), "1.5" for 16 bits per component. Pass it to
    // QPDFWriter::setMinimumPDFVersion when saving.
    std::string minimumPdfVersion = "1.3";
};

// Builds an image XObject in `pdf` from the bytes of an image file; the format is recognised
// from the bytes, not from a file name:
// - JPEG (baseline or progressive; grey, RGB or CMYK) is embedded untouched as /DCTDecode.
//   A CMYK JPEG with Adobe's APP14 marker stores inverted values and gets
//   /Decode [1 0 1 0 1 0 1 0]. The resolution comes from the JFIF density. A JPEG without an
//   end-of-image marker after its scan data (a cut-off file) is refused; lossless, arithmetic
//   and 12-bit JPEGs are refused too. EXIF orientation is not applied.
// - PNG (palette, grey, grey+alpha, RGB, RGBA, 1 to 16 bits, tRNS, interlaced) is decoded and
//   its samples compressed with Flate; 16-bit samples keep their 16 bits. Alpha and tRNS
//   transparency become a separate /SMask image; a palette image stays /Indexed. The
//   resolution comes from pHYs. Gamma and colour profiles are ignored (DeviceRGB/DeviceGray).
// - BMP (1, 4, 8, 24 and 32 bit, uncompressed or bit fields; RLE-compressed files are refused)
//   and GIF (the first frame) are decoded to 8-bit RGB; an alpha channel or a transparent
//   colour becomes an /SMask. BMP resolution comes from its pixels per metre.
// Decoded samples of whole bytes are Flate-compressed with PNG row prediction
// (/DecodeParms << /Predictor 15 ... >>); indexed and packed samples without.
// A fully opaque alpha channel gives no /SMask. The stream data is written already compressed
// with its /Filter set, so it stays compact when the document is saved with stream data
// preserved.
// Undecodable, truncated, unsupported or absurdly large images (over 1 GiB decoded) give nullopt
// and a one-line message in `error`. Never throws.
std::optional<ImageXObject> makeImageXObject(QPDF& pdf, const std::string& bytes,
                                             std::string& error);

}  // namespace relettra::pdf
