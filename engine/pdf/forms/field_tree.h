#pragma once

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>
#include <vector>

namespace relettra::pdf {

// Form fields as PDF links them: a widget annotation is a field of its own (it has a /T) or a
// kid of one through /Parent, and a field takes the attributes it lacks from its ancestors.
// Every walk is bounded and stops at a loop, so a broken chain cannot hang a run.

// The attribute `key` as the object inherits it: its own, else the nearest ancestor's along
// /Parent. A null handle when none has it.
QPDFObjectHandle inheritedAttribute(QPDFObjectHandle object, const std::string& key);

// The field a widget belongs to: the widget itself when it is named (/T) or has no parent,
// else its nearest named ancestor (else its parent).
QPDFObjectHandle terminalField(QPDFObjectHandle widget);

// The widgets that show a terminal field: the field itself when it is a widget, and its kids
// that are widgets of no field of their own (no /T).
std::vector<QPDFObjectHandle> widgetsOf(QPDFObjectHandle field);

// The field's flags (/Ff, inherited), 0 when none are set.
long long fieldFlags(QPDFObjectHandle field);

// Bits of /Ff for text fields.
constexpr long long kFieldReadOnly = 1LL << 0;
constexpr long long kFieldMultiline = 1LL << 12;
constexpr long long kFieldPassword = 1LL << 13;
constexpr long long kFieldComb = 1LL << 24;
constexpr long long kFieldRichText = 1LL << 25;

// Whether the document carries a signature that a change would break: the form's /SigFlags
// say so, a signature field holds a value, or the catalog has a /Perms dictionary (DocMDP or
// usage rights, both signed).
bool documentIsSigned(QPDF& pdf);

}  // namespace relettra::pdf
