#include "report/logs/entry_store.h"

#include <bit>
#include <functional>
#include <string_view>
#include <type_traits>

namespace pinglog::report {

namespace {

constexpr std::size_t kRecentShapes = 4096;  // a power of two

}  // namespace

EntryStore::EntryStore(const std::vector<Entry>& entries) {
  records_.reserve(entries.size());
  for (const Entry& entry : entries) push_back(entry);
}

void EntryStore::clear() {
  records_.clear();
  shapes_.clear();
  recent_.clear();
  last_shape_ = UINT32_MAX;
}

EntryStore::Record EntryStore::Encode(const Entry& entry) {
  Shape shape;
  const auto time = static_cast<std::uint64_t>(entry.time);
  shape.time_high = static_cast<std::int32_t>(static_cast<std::uint32_t>(time >> 32));
  shape.host = entry.host;
  shape.file = entry.file;
  shape.target = entry.target;
  shape.attempts = entry.attempts;
  shape.line_high = static_cast<std::uint16_t>(entry.line >> 16);
  shape.off_clock = entry.off_clock ? 1 : 0;
  Record record;
  record.time_low = static_cast<std::uint32_t>(time);
  record.line_low = static_cast<std::uint16_t>(entry.line);
  for (std::size_t k = 0; k < shape.attempts.size(); ++k) {
    record.time_ms[k] = shape.attempts[k].time_ms;
    shape.attempts[k].time_ms = 0;
  }
  record.shape = ShapeIndex(shape);
  return record;
}

std::uint32_t EntryStore::ShapeIndex(const Shape& shape) {
  static_assert(std::has_unique_object_representations_v<Shape>, "a shape has padding");
  const ShapeBytes bytes = std::bit_cast<ShapeBytes>(shape);
  const auto same = [&](std::uint32_t index) {
    return std::bit_cast<ShapeBytes>(shapes_[index]) == bytes;
  };
  // An entry mostly has the shape of the one before.
  if (last_shape_ < shapes_.size() && same(last_shape_)) return last_shape_;
  if (recent_.empty()) recent_.assign(kRecentShapes, UINT32_MAX);
  const std::size_t hash =
      std::hash<std::string_view>{}(std::string_view(bytes.data(), bytes.size()));
  std::uint32_t& slot = recent_[hash & (kRecentShapes - 1)];
  if (slot == UINT32_MAX || !same(slot)) {
    slot = static_cast<std::uint32_t>(shapes_.size());
    shapes_.push_back(shape);
  }
  last_shape_ = slot;
  return slot;
}

void EntryStore::Arrange(std::vector<std::uint32_t>& order) {
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    const Record first = records_[start];
    std::size_t at = start;
    while (order[at] != start) {
      const std::size_t from = order[at];
      records_[at] = records_[from];
      order[at] = static_cast<std::uint32_t>(at);
      at = from;
    }
    records_[at] = first;
    order[at] = static_cast<std::uint32_t>(at);
  }
}

}  // namespace pinglog::report
