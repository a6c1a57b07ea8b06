#include <string>
#include <vector>

#include "app/startup.h"
#include "app/usage.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  if (pinglog::ShowAskedInformation(std::vector<std::string>(argv + 1, argv + argc))) {
    pinglog::EndProcess(0);
  }
  pinglog::EndProcess(pinglog::RunProgram());
}
