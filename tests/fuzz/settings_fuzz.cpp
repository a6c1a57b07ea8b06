// A whole Kep.ini of arbitrary bytes, read through the numbered files as the program
// reads it: values stay within 250 characters and the end time and interval derive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/settings.h"
#include "fakes/fake_platform.h"
#include "support/numbered_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pinglog::testing::FakePlatform platform;
  platform.files["Kep.ini"] = std::string(reinterpret_cast<const char*>(data), size);
  pinglog::InitFileTable();
  pinglog::ResetSettings();
  if (!pinglog::LoadSettings()) std::abort();
  for (int slot = 0; slot < pinglog::kSettingsSlots; ++slot) {
    if (pinglog::SettingsValue(slot).size() > pinglog::kSettingsValueLength) std::abort();
  }
  pinglog::EndTimeFromText(pinglog::SettingsValue(pinglog::kEndTimeSlot));
  pinglog::IntervalMilliseconds(pinglog::SettingsValue(pinglog::kIntervalSlot));
  pinglog::CloseAllFiles();
  return 0;
}
