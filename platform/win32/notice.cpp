#include <windows.h>

#include "platform/system_platform.h"

namespace pinglog {

// A modal message box with one OK button and no icon, owned by no window.
void SystemPlatform::ShowNotice(const std::string& caption, const std::string& text) {
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}

// Asked-for text (--help) in a message box with an information icon: a program without
// a console has nowhere else to show it.
void SystemPlatform::ShowInformation(const std::string& caption, const std::string& text) {
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace pinglog
