// Parsing a log's blocks on the machine's other cores while the next blocks are read.
// The blocks reach the set in the log's order, their entries, hosts and lines numbered
// as one reader taking every line would number them.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "report/logs/block_parser.h"
#include "report/logs/log_set.h"

namespace pinglog::report {

class BlockPipeline {
 public:
  // Buffers of `buffer_bytes` each; up to `workers` threads parse (none: all here).
  BlockPipeline(LogSet& logs, std::uint32_t file, std::size_t buffer_bytes, unsigned workers);
  ~BlockPipeline();
  BlockPipeline(const BlockPipeline&) = delete;
  BlockPipeline& operator=(const BlockPipeline&) = delete;

  // The buffer to read the next block into (the block it held is in the set by then).
  // Each call here may throw what parsing or adding a block threw.
  char* NextBuffer();
  // Hands on whole lines in that buffer to be parsed (none: nothing to do). The first
  // block is parsed here and now, so that its entries can size the room for the rest.
  void Submit(std::string_view text);
  // Returns once every block handed on is in the set (each added by the thread that
  // parsed it, in the log's order).
  void Finish();

  std::uint64_t entries() const { return entries_; }

 private:
  struct Slot {
    std::vector<char> bytes;
    std::string_view text;
    ParsedBlock parsed;
    std::exception_ptr failure;  // of its parsing
  };

  void StartWorkers();
  void WaitForAdded(std::uint64_t blocks);
  void Work();
  void Parse(Slot& slot);
  void Add(Slot& slot);

  LogSet& logs_;
  const std::uint32_t file_;
  const std::size_t buffer_bytes_;
  unsigned workers_wanted_;
  std::uint64_t lines_ = 0, entries_ = 0;  // of the blocks added
  std::vector<Slot> slots_;                // a ring: block n in slot n % size
  std::uint64_t submitted_ = 0, taken_ = 0, added_ = 0;
  std::mutex mutex_;
  std::condition_variable submitted_or_stopping_, added_or_stopping_;
  bool stopping_ = false;
  bool failed_ = false;               // a block failed: none is added after it
  std::exception_ptr failure_;        // not yet thrown to the reader
  std::vector<std::thread> workers_;  // started with the second block
};

}  // namespace pinglog::report
