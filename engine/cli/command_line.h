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
