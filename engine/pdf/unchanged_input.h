#pragma once

#include <qpdf/QPDF.hh>
#include <string_view>

namespace relettra::pdf {

// Whether every object that the input's cross-reference table places in the file starts where
// the table says ("N G obj"). QPDF reads an object only when it is asked for it, and a rewrite
// repairs a table that points elsewhere; a document that is passed on as its input's bytes has
// no such repair, so its table has to be right.
bool objectsStandWhereListed(QPDF& pdf, std::string_view fileBytes);

}  // namespace relettra::pdf
