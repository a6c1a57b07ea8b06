#include "app/startup.h"

#include "app/schedule.h"
#include "app/settings.h"
#include "platform/platform.h"
#include "support/numbered_files.h"

namespace pinglog {

int RunProgram() {
  InitFileTable();
  if (LoadSettings()) {
    RunSchedule();
  } else {
    ActivePlatform().ShowNotice(kMissingSettingsCaption, kMissingSettingsText);
  }
  CloseAllFiles();
  return 0;
}

}  // namespace pinglog
