#pragma once

#include <string>

// Filled forms whose fields are built the ways that trouble a form reader: a value inherited
// from a parent field, a field shown by two widgets, no default appearance, a default
// appearance naming a font the form does not hold, a widget without an appearance, a turned
// widget; and a signed document.

// Writes form_fields.pdf and form_signed.pdf into `dir`.
void writeFormCases(const std::string& dir);
