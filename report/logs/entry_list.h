// Some of a set's entries, in the set's order, without a copy of them: a run of entries
// that lie together (a host's: nothing kept beside them), or some of them chosen by
// their positions (four bytes an entry). Read as a list of pointers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "report/logs/log_set.h"

namespace pinglog::report {

class EntryList {
 public:
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = const Entry*;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = const Entry*;

    Iterator(const Entry* base, const std::uint32_t* positions, std::size_t at)
        : base_(base), positions_(positions), at_(at) {}
    const Entry* operator*() const {
      return base_ + (positions_ ? std::size_t{positions_[at_]} : at_);
    }
    const Entry* operator[](difference_type n) const { return *(*this + n); }
    Iterator& operator++() { return *this += 1; }
    Iterator operator++(int) { return std::exchange(*this, *this + 1); }
    Iterator& operator--() { return *this -= 1; }
    Iterator& operator+=(difference_type n) {
      at_ = static_cast<std::size_t>(static_cast<difference_type>(at_) + n);
      return *this;
    }
    Iterator& operator-=(difference_type n) { return *this += -n; }
    Iterator operator+(difference_type n) const { return Iterator(*this) += n; }
    Iterator operator-(difference_type n) const { return Iterator(*this) -= n; }
    difference_type operator-(const Iterator& other) const {
      return static_cast<difference_type>(at_) - static_cast<difference_type>(other.at_);
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }
    bool operator<(const Iterator& other) const { return at_ < other.at_; }

   private:
    const Entry* base_;
    const std::uint32_t* positions_;  // none: the entries lie together
    std::size_t at_;
  };

  EntryList() = default;
  // `size` entries lying together from `first`.
  EntryList(const Entry* first, std::size_t size) : base_(first), size_(size) {}
  // A vector's entries, all of them.
  explicit EntryList(const std::vector<Entry>& entries)
      : EntryList(entries.data(), entries.size()) {}
  // The entries at `positions` (in order) counted from `base`.
  EntryList(const Entry* base, std::vector<std::uint32_t> positions)
      : base_(base), positions_(std::move(positions)), size_(positions_.size()), chosen_(true) {}

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Entry* operator[](std::size_t i) const {
    return base_ + (chosen_ ? std::size_t{positions_[i]} : i);
  }
  const Entry* front() const { return (*this)[0]; }
  const Entry* back() const { return (*this)[size_ - 1]; }
  Iterator begin() const { return Iterator(base_, chosen_ ? positions_.data() : nullptr, 0); }
  Iterator end() const { return Iterator(base_, chosen_ ? positions_.data() : nullptr, size_); }

  // Those of the entries that `keep` says yes to, in the same order.
  template <typename Keep>
  EntryList Only(Keep keep) const {
    std::vector<std::uint32_t> kept;
    for (std::size_t i = 0; i < size_; ++i) {
      if (keep(*(*this)[i])) kept.push_back(static_cast<std::uint32_t>((*this)[i] - base_));
    }
    return EntryList(base_, std::move(kept));
  }

 private:
  const Entry* base_ = nullptr;
  std::vector<std::uint32_t> positions_;
  std::size_t size_ = 0;
  bool chosen_ = false;  // by positions_, else lying together
};

}  // namespace pinglog::report
