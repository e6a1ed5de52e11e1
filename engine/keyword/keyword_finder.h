#pragma once

#include <string>

#include "keyword/page_text_collector.h"

// Collects a page's text and stops it as soon as a finished line holds the keyword as a whole
// word (followed by the end of the line, a blank or control character, or one of ()[]<>/%{}).
class KeywordFinder : public PageTextCollector {
  public:
    KeywordFinder(PDF* pdf, std::u16string keyword)
        : PageTextCollector(pdf), keyword_(std::move(keyword)) {}

    bool LineFinished(const std::u16string& line) override;
    bool found() const { return found_; }

    // The first run whose text holds the keyword anywhere, or null; `offset` is where in it.
    const TextRun* FirstRunWithKeyword(size_t& offset) const;

  private:
    std::u16string keyword_;
    bool found_ = false;
};

// Whether `keyword` stands in `line` followed by a word end.
bool ContainsWholeWord(const std::u16string& line, const std::u16string& keyword);
