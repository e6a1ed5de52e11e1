#include "keyword/keyword_finder.h"

namespace {

bool endsWord(char16_t c) {
    switch (c) {
        case u'(':
        case u')':
        case u'[':
        case u']':
        case u'<':
        case u'>':
        case u'/':
        case u'%':
        case u'{':
        case u'}':
            return true;
        default:
            return c <= 32;
    }
}

}  // namespace

bool ContainsWholeWord(const std::u16string& line, const std::u16string& keyword) {
    if (keyword.empty()) {
        return false;
    }
    for (size_t pos = line.find(keyword); pos != std::u16string::npos;
         pos = line.find(keyword, pos + 1)) {
        size_t after = pos + keyword.size();
        if (after == line.size() || endsWord(line[after])) {
            return true;
        }
    }
    return false;
}

bool KeywordFinder::LineFinished(const std::u16string& line) {
    if (ContainsWholeWord(line, keyword_)) {
        found_ = true;
        return true;
    }
    return false;
}

const TextRun* KeywordFinder::FirstRunWithKeyword(size_t& offset) const {
    for (const TextRun& run : runs()) {
        size_t pos = run.text.find(keyword_);
        if (pos != std::u16string::npos) {
            offset = pos;
            return &run;
        }
    }
    return nullptr;
}
