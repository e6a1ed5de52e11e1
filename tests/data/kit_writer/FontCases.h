#pragma once

#include <string>

// Documents whose fonts give their text only in ways beyond a /ToUnicode stream or the standard
// glyph names, each readable by an independent extractor:
//   tounicode_identity.pdf    a composite font whose /ToUnicode is the name /Identity-H (its
//                             program has no cmap);
//   type3_numbered_names.pdf  Type 3 fonts whose glyph names number their codes (a65, g65,
//                             cid65, G41), as TeX's bitmap fonts and printer drivers name them;
//   type3_uni_names.pdf       a Type 3 font named by uniXXXX (lower-case digits) and uXXXX;
//   truetype_cmap_only.pdf    TrueType programs whose text only their cmaps tell: a symbolic
//                             simple font with no names, a composite font without /ToUnicode
//                             read through /CIDToGIDMap;
//   cid_collections.pdf       composite fonts of the Adobe-Japan1 and Adobe-GB1 collections
//                             without /ToUnicode, embedded subsets of Droid Sans Fallback
//                             without cmap.
// The glyphs come from Liberation Sans (fonts-liberation2) and Droid Sans Fallback
// (fonts-droid-fallback); the CIDs of the collections from poppler-data's tables.
void writeFontCases(const std::string& dir);
