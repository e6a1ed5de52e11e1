#include "pdf/text/record_text_index.h"

#include <algorithm>
#include <cstring>

namespace relettra::pdf {

namespace {

// Room for a text to grow by a few characters before the index must be laid out anew.
std::size_t roomFor(std::size_t length) {
    return length + 8 + length / 4;
}

}  // namespace

void RecordTextIndex::append(std::size_t record, const std::string& text) {
    const Slot slot{record, text_.size(), roomFor(text.size()), text.size()};
    text_ += text;
    text_.append(slot.capacity - text.size(), '\0');
    slotOf_[record] = slots_.size();
    slots_.push_back(slot);
}

void RecordTextIndex::update(std::size_t record, const std::string& text) {
    if (stale_) return;
    auto found = slotOf_.find(record);
    if (found == slotOf_.end()) {
        if (text.empty()) return;
        if (!slots_.empty() && slots_.back().record > record) {
            stale_ = true;
            return;
        }
        append(record, text);
        return;
    }
    Slot& slot = slots_[found->second];
    if (text.size() > slot.capacity) {
        stale_ = true;
        return;
    }
    if (slot.length != 0 && text.empty()) spentBytes_ += slot.capacity;
    if (slot.length == 0 && !text.empty()) spentBytes_ -= slot.capacity;
    std::copy(text.begin(), text.end(), text_.begin() + static_cast<std::ptrdiff_t>(slot.offset));
    if (text.size() < slot.length) {
        std::fill(text_.begin() + static_cast<std::ptrdiff_t>(slot.offset + text.size()),
                  text_.begin() + static_cast<std::ptrdiff_t>(slot.offset + slot.length), '\0');
    }
    slot.length = text.size();
    if (spentBytes_ > text_.size() / 2) stale_ = true;
}

void RecordTextIndex::layOut(const std::vector<std::string>& texts, const RecordSet& showing) {
    text_.clear();
    slots_.clear();
    slotOf_.clear();
    spentBytes_ = 0;
    for (std::size_t record : showing) {
        if (!texts[record].empty()) append(record, texts[record]);
    }
    stale_ = false;
}

std::vector<std::size_t> RecordTextIndex::holding(const std::string& needle,
                                                  const std::vector<std::string>& texts,
                                                  const RecordSet& showing) {
    std::vector<std::size_t> found;
    if (needle.empty()) return found;
    // The first search of a page (often its only one) reads the texts where they are; laying
    // them out end to end pays from the second on.
    if (stale_ && searches_++ == 0) {
        for (std::size_t record : showing) {
            if (texts[record].find(needle) != std::string::npos) found.push_back(record);
        }
        return found;
    }
    if (stale_) layOut(texts, showing);
    // Page texts repeat their letters a lot: the C library's memmem skips along them much faster
    // than a search that tries each place where the needle's first letter stands.
    auto findFrom = [&](std::size_t from) {
        if (from >= text_.size()) return std::string::npos;
        const void* hit =
            memmem(text_.data() + from, text_.size() - from, needle.data(), needle.size());
        return hit == nullptr
                   ? std::string::npos
                   : static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
    };
    for (std::size_t at = findFrom(0); at != std::string::npos;) {
        // The slot the hit starts in: the last one starting at or before it.
        auto slot =
            std::upper_bound(slots_.begin(), slots_.end(), at,
                             [](std::size_t offset, const Slot& s) { return offset < s.offset; }) -
            1;
        if (at + needle.size() <= slot->offset + slot->length) {
            found.push_back(slot->record);
        }
        at = findFrom(slot->offset + slot->capacity);
    }
    return found;
}

bool RecordTextIndex::holdsEachCharacterOf(const std::string& text,
                                           const std::vector<std::string>& texts,
                                           const RecordSet& showing) {
    if (stale_) layOut(texts, showing);
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        while (i + length < text.size() &&
               (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) {
            ++length;
        }
        if (text[i] != ' ' &&
            memmem(text_.data(), text_.size(), text.data() + i, length) == nullptr) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace relettra::pdf
