#include "report/logs/block_pipeline.h"

#include <system_error>
#include <utility>

namespace pinglog::report {

BlockPipeline::BlockPipeline(LogSet& logs, std::uint32_t file, std::size_t buffer_bytes,
                             unsigned workers)
    : logs_(logs),
      file_(file),
      buffer_bytes_(buffer_bytes),
      workers_wanted_(workers),
      slots_(workers + 1) {}  // each worker parses one block while the next is read

BlockPipeline::~BlockPipeline() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  submitted_or_stopping_.notify_all();
  added_or_stopping_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

char* BlockPipeline::NextBuffer() {
  // The slot's block, if any, is in the set: its parsing and its buffer are done with.
  if (submitted_ >= slots_.size()) WaitForAdded(submitted_ - slots_.size() + 1);
  // Room taken as blocks come: a log of one block takes one buffer.
  std::vector<char>& bytes = slots_[submitted_ % slots_.size()].bytes;
  if (bytes.empty()) bytes.resize(buffer_bytes_);
  return bytes.data();
}

void BlockPipeline::Submit(std::string_view text) {
  if (text.empty()) return;
  Slot& slot = slots_[submitted_ % slots_.size()];
  slot.text = text;
  StartWorkers();
  if (submitted_ == 0 || workers_.empty()) {
    Parse(slot);
    ++submitted_;
    ++taken_;
    Add(slot);
    ++added_;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    return;
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++submitted_;
  }
  submitted_or_stopping_.notify_one();
}

void BlockPipeline::StartWorkers() {
  if (submitted_ == 0) return;  // a log of one block needs none
  try {
    while (workers_.size() < workers_wanted_) workers_.emplace_back([this] { Work(); });
  } catch (const std::system_error&) {  // the threads the system gives, if any
    workers_wanted_ = static_cast<unsigned>(workers_.size());
  }
}

void BlockPipeline::Finish() { WaitForAdded(submitted_); }

void BlockPipeline::WaitForAdded(std::uint64_t blocks) {
  std::unique_lock<std::mutex> lock(mutex_);
  added_or_stopping_.wait(lock, [&] { return added_ >= blocks; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void BlockPipeline::Work() {
  for (;;) {
    std::uint64_t block = 0;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      submitted_or_stopping_.wait(lock, [this] { return stopping_ || taken_ < submitted_; });
      if (stopping_) return;
      block = taken_++;
    }
    Slot& slot = slots_[block % slots_.size()];
    Parse(slot);
    // The blocks before it in, this one is added here: the set is touched by one
    // thread at a time, in the log's order, while the reading goes on.
    {
      std::unique_lock<std::mutex> lock(mutex_);
      added_or_stopping_.wait(lock, [&] { return stopping_ || added_ == block; });
      if (stopping_) return;
    }
    Add(slot);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      ++added_;
    }
    added_or_stopping_.notify_all();
  }
}

void BlockPipeline::Parse(Slot& slot) {
  try {
    slot.parsed.Parse(slot.text);
  } catch (...) {
    slot.failure = std::current_exception();
  }
}

// A block that failed (or fails now) is not added; the failure reaches the reader at
// its next call, and the blocks after it are not added either.
void BlockPipeline::Add(Slot& slot) {
  std::exception_ptr failure = std::exchange(slot.failure, nullptr);
  if (!failure && !failed_) {
    try {
      slot.parsed.AddTo(logs_, file_, lines_);
      lines_ += slot.parsed.lines();
      entries_ += slot.parsed.entries();
    } catch (...) {
      failure = std::current_exception();
    }
  }
  if (!failure) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  failed_ = true;
  failure_ = failure;
}

}  // namespace pinglog::report
