#pragma once

#include <cstddef>
#include <vector>

namespace relettra::pdf {

// A set of record indices, kept in order, for a page's records: they come in with rising
// indices and only some leave, so a sorted list with a mark per record does the work of an
// ordered set without one allocation per member.
class RecordSet {
  public:
    bool contains(std::size_t record) const { return record < member_.size() && member_[record]; }
    void insert(std::size_t record);
    void erase(std::size_t record);

    // Walks the members in order.
    class Iterator {
      public:
        Iterator(const RecordSet& set, std::size_t at) : set_(set), at_(at) { skip(); }
        std::size_t operator*() const { return set_.order_[at_]; }
        Iterator& operator++() {
            ++at_;
            skip();
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

      private:
        void skip() {
            while (at_ < set_.order_.size() && !set_.contains(set_.order_[at_])) ++at_;
        }
        const RecordSet& set_;
        std::size_t at_;
    };
    Iterator begin() const { return Iterator(*this, 0); }
    Iterator end() const { return Iterator(*this, order_.size()); }

  private:
    std::vector<std::size_t> order_;  // members and records that left since the last tidy-up
    std::vector<bool> member_;
    std::size_t left_ = 0;  // records in order_ that are no members
};

}  // namespace relettra::pdf
