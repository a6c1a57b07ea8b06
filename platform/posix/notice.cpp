#include <stdio.h>
#include <unistd.h>

#include "platform/system_platform.h"

namespace pinglog {

// The notice goes to standard error. At a terminal the user acknowledges it with
// Enter, as with a message box; an unattended start (no terminal) goes on at once.
void SystemPlatform::ShowNotice(const std::string& caption, const std::string& text) {
  // Nothing is to be done when standard error is gone: the results are not used.
  (void)::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  if (!::isatty(STDIN_FILENO)) return;
  (void)::fputs("Press Enter to continue.\n", stderr);
  int c;
  do {
    c = ::getchar();
  } while (c != '\n' && c != EOF);
}

// Asked-for text (--help) goes to standard output, without a wait.
void SystemPlatform::ShowInformation(const std::string&, const std::string& text) {
  (void)::fputs(text.c_str(), stdout);
}

}  // namespace pinglog
