#pragma once

#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace relettra::pdf {

// A number as PDF writes it: at most three decimals, trailing zeros trimmed, always with a dot
// whatever the locale ("556.152", "-212", "0").
std::string formatPdfNumber(double value);

// The same number as a PDF object: an integer when it has no fraction left, else a real.
QPDFObjectHandle newPdfNumber(double value);

// A /Matrix array of six numbers; the identity when it is anything else, and an entry that is
// not a number counts as the identity's.
QPDFMatrix matrixFromArray(QPDFObjectHandle array);

// The matrix that undoes `m` (the identity when `m` cannot be undone).
QPDFMatrix inverseMatrix(const QPDFMatrix& m);

}  // namespace relettra::pdf
