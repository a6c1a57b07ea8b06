// The entries of a set, kept small: a year of one-minute cycles is half a million of
// them, and their room is the report's. What an entry shares with those around it (its
// host, file and target, its attempts' outcomes, sources or error numbers, sizes and
// TTLs, its clock mark, the upper halves of its time and line) is kept once, as a shape;
// each entry keeps only the lower halves of its time and line, its round trips and its
// shape: 16 bytes where the entry itself takes 56. Entries are read back whole, by value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "report/logs/entry.h"

namespace pinglog::report {

class EntryStore {
 private:
  // What an entry shares with others. No padding: alike shapes hash alike as bytes.
  struct Shape {
    std::int32_t time_high = 0;  // the time's upper half (the same for 136 years)
    std::uint32_t host = 0;
    std::uint32_t file = 0;
    Address target{};
    std::array<Attempt, 3> attempts;  // their round trips 0
    std::uint16_t line_high = 0;      // the line's upper half (the same for 65536 lines)
    std::uint8_t off_clock = 0;
    std::array<std::uint8_t, 3> unused{};
  };
  struct Record {
    std::uint32_t time_low = 0;  // the time's lower half
    std::uint32_t shape = 0;     // index into shapes_
    std::uint16_t line_low = 0;  // the line's lower half
    std::array<std::uint16_t, 3> time_ms{};
  };
  static_assert(sizeof(Record) == 16, "an entry's record grew");
  using ShapeBytes = std::array<char, sizeof(Shape)>;
  static LogTime WideTime(std::int32_t high, std::uint32_t low) {
    return static_cast<LogTime>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32 |
                                low);
  }

 public:
  // The entries read where they lie, by position: valid while the store is not changed,
  // and after it is moved.
  class Reader {
   public:
    Reader() = default;
    Entry operator[](std::size_t i) const {
      const Record& record = records_[i];
      const Shape& shape = shapes_[record.shape];
      Entry entry;
      entry.time = WideTime(shape.time_high, record.time_low);
      entry.host = shape.host;
      entry.file = shape.file;
      entry.line = std::uint32_t{shape.line_high} << 16 | record.line_low;
      entry.target = shape.target;
      entry.off_clock = shape.off_clock != 0;
      entry.attempts = shape.attempts;
      for (std::size_t k = 0; k < entry.attempts.size(); ++k) {
        entry.attempts[k].time_ms = record.time_ms[k];
      }
      return entry;
    }
    LogTime TimeAt(std::size_t i) const {
      return WideTime(shapes_[records_[i].shape].time_high, records_[i].time_low);
    }
    std::uint32_t HostAt(std::size_t i) const { return shapes_[records_[i].shape].host; }

   private:
    friend class EntryStore;
    Reader(const Record* records, const Shape* shapes) : records_(records), shapes_(shapes) {}
    const Record* records_ = nullptr;
    const Shape* shapes_ = nullptr;
  };
  Reader reader() const { return Reader(records_.data(), shapes_.data()); }

  // The room each entry takes, beside the shapes that entries share.
  static constexpr std::size_t kEntryBytes = sizeof(Record);

  EntryStore() = default;
  // A store of these entries, in their order.
  explicit EntryStore(const std::vector<Entry>& entries);

  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  std::size_t capacity() const { return records_.capacity(); }
  void reserve(std::size_t size) { records_.reserve(size); }
  void clear();

  // Entries are numbered in 32 bits (a list's positions, the sort's order): beyond
  // that, which no machine's memory reaches, the report refuses.
  void push_back(const Entry& entry) {
    if (records_.size() == UINT32_MAX) throw std::length_error("too many entries for one report");
    records_.push_back(Encode(entry));
  }
  // The entry at `i`, whole.
  Entry operator[](std::size_t i) const { return reader()[i]; }
  Entry back() const { return (*this)[size() - 1]; }
  // Parts of the entry at `i`, without the rest.
  LogTime TimeAt(std::size_t i) const { return reader().TimeAt(i); }
  std::uint32_t HostAt(std::size_t i) const { return reader().HostAt(i); }

  // The entry at `i` becomes `entry`.
  void Replace(std::size_t i, const Entry& entry) { records_[i] = Encode(entry); }
  // Keeps the first `size` entries.
  void Truncate(std::size_t size) { records_.resize(size); }
  // Keeps the entries at the positions that `keep(i)` says yes to, in their order.
  template <typename Keep>
  void KeepOnly(Keep keep) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
      if (keep(i)) records_[kept++] = records_[i];
    }
    records_.resize(kept);
  }
  // Puts entry order[i] at i, moving each once (along the cycles of the order, which
  // ends as 0, 1, 2, ...).
  void Arrange(std::vector<std::uint32_t>& order);

 private:
  Record Encode(const Entry& entry);
  std::uint32_t ShapeIndex(const Shape& shape);

  std::vector<Record> records_;
  std::vector<Shape> shapes_;
  // Shapes seen lately, found by their hash (a shape not found here is added again: the
  // same one twice costs a little room, never a wrong entry).
  std::vector<std::uint32_t> recent_;
  std::uint32_t last_shape_ = UINT32_MAX;
};

}  // namespace pinglog::report
