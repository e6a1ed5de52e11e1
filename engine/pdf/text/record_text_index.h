#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdf/text/record_set.h"

namespace relettra::pdf {

// The texts of a page's records laid end to end, so that the records holding a text are found
// by one search instead of one per record. A record's text is kept in a slot with room to
// spare, written over in place when it changes and still fits; the index is laid out anew when
// a text outgrows its slot, a record comes in out of order, or the slots of records whose text
// is gone take more room than the others.
class RecordTextIndex {
  public:
    // Record `record` now has the text `text` ("" when it has none).
    void update(std::size_t record, const std::string& text);
    // The records whose text holds `needle`, in order; `texts` (by record) and `showing` (the
    // records that have a text) are what the index is laid out from when it must be.
    std::vector<std::size_t> holding(const std::string& needle,
                                     const std::vector<std::string>& texts,
                                     const RecordSet& showing);

    // Whether every character of `text` but spaces stands somewhere in the records' texts.
    bool holdsEachCharacterOf(const std::string& text, const std::vector<std::string>& texts,
                              const RecordSet& showing);

  private:
    struct Slot {
        std::size_t record;
        std::size_t offset;
        std::size_t capacity;
        std::size_t length;
    };
    void layOut(const std::vector<std::string>& texts, const RecordSet& showing);
    void append(std::size_t record, const std::string& text);

    std::string text_;         // the slots, each padded with zero bytes
    std::vector<Slot> slots_;  // in order of record and offset
    std::unordered_map<std::size_t, std::size_t> slotOf_;
    std::size_t spentBytes_ = 0;  // room of slots whose record has no text
    bool stale_ = true;
    std::size_t searches_ = 0;
};

}  // namespace relettra::pdf
