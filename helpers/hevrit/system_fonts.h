#pragma once

// Text layers need no font files: a word's text, place and size come from the document itself.
// The library still asks the system's font configuration for a substitute of every font that the
// document does not embed, and loading that configuration takes most of a small document's time.
// Leaves the library an empty configuration instead, so that the question is answered at once.
void useNoSystemFonts();
