#include "platform/platform.h"

#include <new>

namespace pinglog {
namespace {

Platform* installed_platform = nullptr;

}  // namespace

char* Platform::AllocateBlock(std::size_t size) { return new (std::nothrow) char[size]; }

void Platform::ReleaseBlock(char* block) { delete[] block; }

Platform& ActivePlatform() { return installed_platform ? *installed_platform : OsPlatform(); }

void InstallPlatform(Platform* platform) { installed_platform = platform; }

}  // namespace pinglog
