// Some of a set's entries, in the set's order, without a copy of them: a run of entries
// that lie together (a host's: nothing kept beside them), or some of them chosen by
// their positions (four bytes an entry). Read as a list of entries, each whole; the
// list stays valid when the store is moved, not when it is changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "report/logs/entry_store.h"

namespace pinglog::report {

class EntryList {
 public:
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Entry;

    Iterator(const EntryList* list, std::size_t at) : list_(list), at_(at) {}
    Entry operator*() const { return (*list_)[at_]; }
    Entry operator[](difference_type n) const { return *(*this + n); }
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
    const EntryList* list_;
    std::size_t at_;
  };

  EntryList() = default;
  // `size` entries lying together from position `first` of `store`.
  EntryList(const EntryStore& store, std::size_t first, std::size_t size)
      : store_(store.reader()), first_(first), size_(size) {}
  // A store's entries, all of them.
  explicit EntryList(const EntryStore& store) : EntryList(store, 0, store.size()) {}
  // The entries at `positions` (in order) of `store`.
  EntryList(const EntryStore& store, std::vector<std::uint32_t> positions)
      : store_(store.reader()),
        positions_(std::move(positions)),
        size_(positions_.size()),
        chosen_(true) {}

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Entry operator[](std::size_t i) const { return store_[Position(i)]; }
  LogTime TimeAt(std::size_t i) const { return store_.TimeAt(Position(i)); }
  Entry front() const { return (*this)[0]; }
  Entry back() const { return (*this)[size_ - 1]; }
  Iterator begin() const { return Iterator(this, 0); }
  Iterator end() const { return Iterator(this, size_); }
  // Where the i-th entry lies in the store.
  std::size_t Position(std::size_t i) const {
    return chosen_ ? std::size_t{positions_[i]} : first_ + i;
  }
  // The entries at `indexes` of this list, in that order.
  EntryList Picked(const std::vector<std::uint32_t>& indexes) const {
    std::vector<std::uint32_t> positions(indexes.size());
    for (std::size_t i = 0; i < indexes.size(); ++i) {
      positions[i] = static_cast<std::uint32_t>(Position(indexes[i]));
    }
    return Chosen(std::move(positions));
  }
  // Those of the entries that `keep` says yes to, in the same order.
  template <typename Keep>
  EntryList Only(Keep keep) const {
    std::vector<std::uint32_t> kept;
    for (std::size_t i = 0; i < size_; ++i) {
      if (keep((*this)[i])) kept.push_back(static_cast<std::uint32_t>(Position(i)));
    }
    return Chosen(std::move(kept));
  }

 private:
  EntryList Chosen(std::vector<std::uint32_t> positions) const {
    EntryList chosen;
    chosen.store_ = store_;
    chosen.size_ = positions.size();
    chosen.positions_ = std::move(positions);
    chosen.chosen_ = true;
    return chosen;
  }

  EntryStore::Reader store_;
  std::size_t first_ = 0;
  std::vector<std::uint32_t> positions_;
  std::size_t size_ = 0;
  bool chosen_ = false;  // by positions_, else lying together
};

}  // namespace pinglog::report
