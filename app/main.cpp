#include "app/startup.h"
#include "platform/platform.h"

int main() { pinglog::EndProcess(pinglog::RunProgram()); }
