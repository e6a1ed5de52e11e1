#pragma once

// The exit codes of the engine's command line and of MarqelByKeyword, beyond the success values
// each mode documents (see the README). Callers that start the engine rely on them.

namespace marqel {

// Any mode: the engine failed in a way no mode foresees (out of memory, an internal error).
// Nothing is written. Distinct from every mode's success value.
constexpr int kEngineFailure = -6;

// "-tesome"
constexpr int kTextRulesDone = 1;
constexpr int kTextInputNotOpened = 0;  // also an empty input or output path
constexpr int kTextOutputNotWritten = 2;
constexpr int kTextRuleFileUnreadable = 3;

// "-pisome"
constexpr int kImageRulesDone = 1;
constexpr int kImageInputPathEmpty = -1;
constexpr int kImageInputMissingOrImageUnreadable = -2;
constexpr int kImageInputNotOpened = -3;
constexpr int kImageRuleFileUnreadable = -4;
constexpr int kImageOutputNotWritten = -5;

// "-piall" and MarqelByKeyword (besides the number of pages stamped, 0 or more)
constexpr int kKeywordEmptyArgument = -1;  // empty keyword, or an empty image
constexpr int kKeywordInputMissing = -2;   // empty input path
constexpr int kKeywordImageUnusable = -2;  // the image file cannot be read or drawn
constexpr int kKeywordInputNotOpened = -3;
constexpr int kKeywordNotConvertible = -4;
constexpr int kKeywordOutputNotWritten = -5;

}  // namespace marqel
