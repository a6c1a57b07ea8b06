#pragma once

namespace pinglog {

inline constexpr const char* kMissingSettingsCaption = "Critical Information";
inline constexpr const char* kMissingSettingsText =
    "Couldn't find the ini-File! Programm will be terminatet";

// The whole program: loads the settings (or tells the user they are missing), runs the
// schedule and closes every file. The exit code is always 0.
int RunProgram();

}  // namespace pinglog
