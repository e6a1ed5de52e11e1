#pragma once

// Exit codes of the engine's modes, beyond the success values each mode documents.

// "-tesome"
constexpr int kTextRulesDone = 1;
constexpr int kTextInputNotOpened = 0;
constexpr int kTextOutputNotWritten = 2;
constexpr int kTextRuleFileUnreadable = 3;

// "-pisome"
constexpr int kImageRulesDone = 1;
constexpr int kImageInputPathEmpty = -1;
constexpr int kImageInputMissingOrImageUnreadable = -2;
constexpr int kImageInputNotOpened = -3;
constexpr int kImageRuleFileUnreadable = -4;
constexpr int kImageOutputNotWritten = -5;

// "-piall" (besides the number of stamps, 0 or more)
constexpr int kKeywordEmptyArgument = -1;
constexpr int kKeywordInputMissing = -2;
constexpr int kKeywordInputNotOpened = -3;
constexpr int kKeywordNotConvertible = -4;
constexpr int kKeywordOutputNotWritten = -5;
