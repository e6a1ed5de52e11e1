#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace relettra::pdf {

// A number as PDF writes it: at most three decimals, trailing zeros trimmed, always with a dot
// whatever the locale ("556.152", "-212", "0").
std::string formatPdfNumber(double value);

// The same number as a PDF object: an integer when it has no fraction left, else a real.
QPDFObjectHandle newPdfNumber(double value);

}  // namespace relettra::pdf
