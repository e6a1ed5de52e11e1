#pragma once

#include <string>

// Documents whose words are drawn the way many producers draw them: a word over several
// operators (one glyph per string, one text object per glyph, two fonts, a raised letter),
// text turned by the transformation or the text matrix on a page without /Rotate, and text
// that only annotation appearances show.

// Writes drawn_pieces.pdf, turned_by_matrix.pdf and annotation_text.pdf into `dir`.
void writeDrawnTextCases(const std::string& dir);
