#pragma once

#include <string>

// Single-page documents that each exercise one way of showing text.

// Standard-14 Helvetica, not embedded, WinAnsiEncoding.
void writeStd14Helvetica(const std::string& path);
// An embedded TrueType font and a standard-14 font whose /Differences make the
// raw codes differ from the text shown.
void writeDifferences(const std::string& path, const std::string& trueTypePath);
// An embedded, complete TrueType font with plain WinAnsiEncoding.
void writeTrueTypeWinAnsi(const std::string& path, const std::string& trueTypePath);
// TJ arrays with kerning numbers, followed by more text on the same line.
void writeTjKerning(const std::string& path);
// Words turned by 90, 270 and 3 degrees through the text matrix.
void writeRotatedText(const std::string& path);
