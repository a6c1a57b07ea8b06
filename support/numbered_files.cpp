#include "support/numbered_files.h"

#include <cstring>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace pinglog {
namespace {

constexpr std::int32_t kInitialSlots = 16;
constexpr std::int32_t kGrowthSlots = 16;

enum class FileMode { kReading, kWriting };

// In reading mode `count` is the read-ahead not yet consumed (the next byte lies at
// buffer[fill - count]) and the platform position is ahead of ours by count. In writing
// mode `count` is the free room and the first buffer_size - count bytes are pending;
// the platform position is behind ours by those bytes.
struct FileEntry {
  FileHandle handle = kNoFile;
  char* buffer = nullptr;  // absent when no memory could be had: then unbuffered
  std::int32_t buffer_size = kFileBufferSize;
  std::int32_t count = 0;
  std::int32_t fill = 0;
  FileMode mode = FileMode::kReading;
};

std::vector<FileEntry>& Table() {
  static std::vector<FileEntry> table;
  return table;
}

FileEntry* OpenEntry(FileSlot slot) {
  auto& table = Table();
  if (slot < 0 || slot >= static_cast<FileSlot>(table.size())) return nullptr;
  FileEntry& entry = table[slot];
  return entry.handle == kNoFile ? nullptr : &entry;
}

// One platform write. When the system takes only part of the bytes (a full disk), the
// part is cut off again, so that the file never keeps a torn piece of a text and the
// next write does not glue onto one. The result is still what the system took.
std::int64_t WriteWhole(FileHandle handle, const char* from, std::int64_t size) {
  Platform& platform = ActivePlatform();
  const std::int64_t put = platform.FileWrite(handle, from, size);
  if (put > 0 && put < size) {
    const std::int64_t end = platform.FileSeek(handle, 0, SeekOrigin::kCurrent);
    if (end >= put) platform.FileTruncate(handle, end - put);
  }
  return put;
}

void WriteOutBuffer(FileEntry& entry) {
  if (entry.mode != FileMode::kWriting || entry.buffer == nullptr) return;
  const std::int32_t pending = entry.buffer_size - entry.count;
  if (pending > 0) WriteWhole(entry.handle, entry.buffer, pending);
  entry.count = entry.buffer_size;
}

std::optional<char> TakeByte(FileEntry& entry) {
  Platform& platform = ActivePlatform();
  if (entry.buffer == nullptr) {
    char byte;
    if (platform.FileRead(entry.handle, &byte, 1) != 1) return std::nullopt;
    return byte;
  }
  if (entry.mode == FileMode::kWriting) {
    WriteOutBuffer(entry);
    entry.mode = FileMode::kReading;
    entry.count = 0;
  }
  if (entry.count < 1) {
    const std::int64_t got = platform.FileRead(entry.handle, entry.buffer, entry.buffer_size);
    entry.fill = entry.count = got > 0 ? static_cast<std::int32_t>(got) : 0;
    if (entry.count == 0) return std::nullopt;
  }
  const char byte = entry.buffer[entry.fill - entry.count];
  --entry.count;
  return byte;
}

// Only right after a byte was taken.
void PutBackByte(FileEntry& entry) {
  if (entry.buffer == nullptr) {
    ActivePlatform().FileSeek(entry.handle, -1, SeekOrigin::kCurrent);
  } else {
    ++entry.count;
  }
}

std::int64_t Open(FileSlot slot, const std::string& path, FileAccess access) {
  if (slot < 0) return 0;
  auto& table = Table();
  if (slot >= static_cast<FileSlot>(table.size())) table.resize(slot + kGrowthSlots);
  CloseSlot(slot);
  Platform& platform = ActivePlatform();
  const FileHandle handle = platform.FileOpen(path, access);
  if (handle == kNoFile) return 0;
  FileEntry& entry = table[slot];
  entry = FileEntry{};
  entry.handle = handle;
  entry.buffer = platform.AllocateBlock(kFileBufferSize);
  return handle;
}

}  // namespace

void InitFileTable() {
  auto& table = Table();
  table.clear();
  table.resize(kInitialSlots);
}

std::int64_t OpenForReading(FileSlot slot, const std::string& path) {
  return Open(slot, path, FileAccess::kReadShared);
}

std::int64_t OpenOrCreate(FileSlot slot, const std::string& path) {
  return Open(slot, path, FileAccess::kReadWriteOpenAlways);
}

int AtEnd(FileSlot slot) {
  FileEntry* entry = OpenEntry(slot);
  if (entry == nullptr) return 0;
  if (!TakeByte(*entry)) return 1;
  PutBackByte(*entry);
  return 0;
}

std::string ReadLine(FileSlot slot) {
  std::string line;
  FileEntry* entry = OpenEntry(slot);
  if (entry == nullptr) return line;
  for (;;) {
    const std::optional<char> byte = TakeByte(*entry);
    if (!byte || *byte == '\0' || *byte == '\n') break;
    if (*byte == '\r') {
      const std::optional<char> next = TakeByte(*entry);
      if (next && *next != '\n') PutBackByte(*entry);
      break;
    }
    line += *byte;
  }
  return line;
}

std::int64_t QuerySize(FileSlot slot) {
  FileEntry* entry = OpenEntry(slot);
  if (entry == nullptr) return -1;
  WriteOutBuffer(*entry);
  return ActivePlatform().FileSize(entry->handle);
}

void SeekTo(FileSlot slot, std::int64_t position) {
  FileEntry* entry = OpenEntry(slot);
  if (entry == nullptr) return;
  WriteOutBuffer(*entry);
  entry->mode = FileMode::kReading;
  entry->count = 0;
  ActivePlatform().FileSeek(entry->handle, position, SeekOrigin::kBegin);
}

std::int64_t WriteText(FileSlot slot, std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return 0;
  FileEntry* entry = OpenEntry(slot);
  if (entry == nullptr) return 0;
  Platform& platform = ActivePlatform();
  const auto length = static_cast<std::int64_t>(text.size());
  if (entry->buffer == nullptr) return WriteWhole(entry->handle, text.data(), length);
  if (entry->mode == FileMode::kReading) {
    // The write lands right behind the last byte consumed, not behind the read-ahead.
    if (entry->count > 0) platform.FileSeek(entry->handle, -entry->count, SeekOrigin::kCurrent);
    entry->mode = FileMode::kWriting;
    entry->count = entry->buffer_size;
  }
  if (length < entry->count) {
    std::memcpy(entry->buffer + (entry->buffer_size - entry->count), text.data(), text.size());
    entry->count -= static_cast<std::int32_t>(length);
    return length;
  }
  WriteOutBuffer(*entry);
  if (length >= entry->buffer_size) return WriteWhole(entry->handle, text.data(), length);
  std::memcpy(entry->buffer, text.data(), text.size());
  entry->count = entry->buffer_size - static_cast<std::int32_t>(length);
  return length;
}

void CloseSlot(FileSlot slot) {
  FileEntry* entry = OpenEntry(slot);
  if (entry == nullptr) return;
  WriteOutBuffer(*entry);
  Platform& platform = ActivePlatform();
  platform.ReleaseBlock(entry->buffer);
  platform.FileClose(entry->handle);
  *entry = FileEntry{};
}

void CloseAllFiles() {
  const auto slots = static_cast<FileSlot>(Table().size());
  for (FileSlot slot = 0; slot < slots; ++slot) CloseSlot(slot);
}

std::int32_t FileTableCount() { return static_cast<std::int32_t>(Table().size()); }

}  // namespace pinglog
