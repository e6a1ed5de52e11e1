#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace relettra::pdf {

// What a PDF image dictionary needs from a JPEG file, read from its markers without decoding.
struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;  // 1 grey, 3 RGB (YCbCr), 4 CMYK (YCCK)
    bool progressive = false;
    bool adobeMarker = false;  // APP14 "Adobe": CMYK samples are stored inverted
    double dpiX = 0.0;         // 0 when the JFIF header gives no physical density
    double dpiY = 0.0;
};

// Reads the header of a JPEG file: the frame (SOF0, SOF1 or SOF2 with 8-bit samples), the JFIF
// density and the Adobe marker. Also checks that the scan data is followed by an end-of-image
// marker, so a cut-off file is refused instead of being embedded half grey.
// Returns nullopt and a one-line `error` for anything a PDF reader's DCT decoder cannot show.
std::optional<JpegHeader> readJpegHeader(std::string_view bytes, std::string& error);

}  // namespace relettra::pdf
