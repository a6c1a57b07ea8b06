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
  for (std::thread& worker : workers_) worker.join();
}

char* BlockPipeline::NextBuffer() {
  if (submitted_ - added_ == slots_.size()) AddOldest();
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

void BlockPipeline::Finish() {
  while (added_ < submitted_) AddOldest();
}

void BlockPipeline::Work() {
  for (;;) {
    Slot* slot = nullptr;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      submitted_or_stopping_.wait(lock, [this] { return stopping_ || taken_ < submitted_; });
      if (stopping_) return;
      slot = &slots_[taken_++ % slots_.size()];
    }
    Parse(*slot);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      slot->ready = true;
    }
    parsed_.notify_one();
  }
}

void BlockPipeline::Parse(Slot& slot) {
  try {
    slot.parsed.Parse(slot.text);
  } catch (...) {
    slot.failure = std::current_exception();
  }
}

void BlockPipeline::AddOldest() {
  Slot& slot = slots_[added_ % slots_.size()];
  {
    std::unique_lock<std::mutex> lock(mutex_);
    parsed_.wait(lock, [&slot] { return slot.ready; });
    slot.ready = false;
  }
  Add(slot);
}

void BlockPipeline::Add(Slot& slot) {
  ++added_;
  if (slot.failure) std::rethrow_exception(std::exchange(slot.failure, nullptr));
  slot.parsed.AddTo(logs_, file_, lines_);
  lines_ += slot.parsed.lines();
  entries_ += slot.parsed.entries();
}

}  // namespace pinglog::report
