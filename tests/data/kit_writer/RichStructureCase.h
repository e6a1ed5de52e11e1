#pragma once

#include <string>

// Three pages with outlines, a link annotation, an AcroForm text field, XMP
// metadata, an Info dictionary and page labels: the document-level structure a
// rewrite has to keep.
void writeRichStructure(const std::string& path);
