#pragma once

#include <cstdint>

// Unicode value of a WinAnsiEncoding code, 0 for the codes that encoding leaves
// undefined.
std::uint32_t winAnsiToUnicode(unsigned char code);
