#pragma once

// The engine's command line: argument count and mode word to a mode runner; returns the exit code.
//
//   marqel <input.pdf> -tesome <output.pdf> <rules.txt>
//   marqel <input.pdf> -pisome <output.pdf> <imagerule.txt>
//   marqel <input.pdf> -piall  <output.pdf> <keyword> <image> <width> <height>
int RunMarqel(int argc, const char* const* argv);

// Exit code for a mode word that is none of the known ones: -1 when it sorts before "-tesome"
// in unsigned byte order, 1 when after (and for "-tesome" itself, which never gets here).
int UnknownModeResult(const char* modeWord);

// `atoi` semantics without undefined behaviour: leading blanks, optional sign, decimal digits;
// anything else gives 0, values beyond the int range are clamped.
int ReadLeadingInt(const char* text);
