#include "app/settings.h"

#include <array>

#include "support/domain.h"
#include "support/numbered_files.h"
#include "support/text.h"

namespace pinglog {
namespace {

constexpr FileSlot kSettingsFileSlot = 0;

std::array<std::string, kSettingsSlots>& Table() {
  static std::array<std::string, kSettingsSlots> table;
  return table;
}

std::array<std::string, kSettingsSlots>& Labels() {
  static std::array<std::string, kSettingsSlots> labels;
  return labels;
}

const std::string& SlotOf(const std::array<std::string, kSettingsSlots>& slots, int slot) {
  static const std::string empty;
  if (slot < 0 || slot >= kSettingsSlots) return empty;
  return slots[slot];
}

// One field of the end time: the characters at 1-based positions first..first+1
// (or a longer width), read as a number and cut to 32 bits.
std::int32_t FieldAt(std::string_view text, std::size_t first, std::size_t width) {
  if (first - 1 >= text.size()) return 0;
  return static_cast<std::int32_t>(ParseNumber(text.substr(first - 1, width)));
}

}  // namespace

bool LoadSettings(const std::string& path) {
  if (OpenForReading(kSettingsFileSlot, path) == 0) return false;
  auto& table = Table();
  std::int32_t line_counter = 0;
  // Lines beyond the fifth have no slot and are not read: a settings file that never
  // ends (a device in its place) or one of gigabytes costs no more than five lines.
  while (line_counter < kSettingsSlots - 1 && AtEnd(kSettingsFileSlot) == 0) {
    const std::string line = ReadLine(kSettingsFileSlot);
    ++line_counter;
    table[line_counter] = SettingsLineValue(line);
    const std::size_t equals = line.find('=');
    Labels()[line_counter] =
        equals == std::string::npos ? std::string() : TrimSpaces(line.substr(0, equals));
  }
  CloseSlot(kSettingsFileSlot);
  return true;
}

const std::string& SettingsValue(int slot) { return SlotOf(Table(), slot); }

const std::string& SettingsLabel(int slot) { return SlotOf(Labels(), slot); }

void ResetSettings() {
  for (auto& value : Table()) value.clear();
  for (auto& label : Labels()) label.clear();
}

std::string SettingsLineValue(std::string_view line) {
  const std::size_t equals = line.find('=');
  const std::size_t start = equals == std::string_view::npos ? 0 : equals + 1;
  return TrimSpaces(line.substr(start, kSettingsValueLength));
}

CalendarFields EndTimeFields(std::string_view text) {
  return {FieldAt(text, 1, 4),  FieldAt(text, 6, 2),  FieldAt(text, 9, 2),
          FieldAt(text, 12, 2), FieldAt(text, 15, 2), FieldAt(text, 18, 2)};
}

CalendarTime EndTimeFromText(std::string_view text) {
  const CalendarFields f = EndTimeFields(text);
  return ComposeTime(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

std::uint32_t IntervalMilliseconds(std::string_view text) {
  const auto minutes = static_cast<std::uint64_t>(ParseNumber(text));
  return static_cast<std::uint32_t>(minutes * static_cast<std::uint64_t>(kMillisecondsPerMinute));
}

}  // namespace pinglog
