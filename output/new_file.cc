#include "output/new_file.h"

#include <chrono>
#include <cstdint>
#include <utility>

namespace tenapi {

NewFile::NewFile(Disk& disk, const std::string& name)
    : PartSink(kPart), disk_(disk), name_(name), folder_(folder_of(name)) {
  // Unnamed where the system allows it, so that a killed process leaves
  // nothing behind.
  file_ = disk_.create_unnamed(folder_);
  if (file_ != kNoFile) return;
  // Else under a name of its own beside the final one, its last six
  // letters and digits drawn anew until the name is free.
  std::string temporary = name + ".incomplete-XXXXXX";
  auto seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                 reinterpret_cast<std::intptr_t>(this));
  for (int attempt = 0; attempt < 100; ++attempt, seed = seed * 6364136223846793005u + 1) {
    std::uint64_t bits = seed >> 16;
    for (std::size_t i = temporary.size() - 6; i < temporary.size(); ++i) {
      temporary[i] = "0123456789abcdefghijklmnopqrstuvwxyz"[static_cast<std::size_t>(bits % 36)];
      bits /= 36;
    }
    bool taken = false;
    SystemName candidate = system_name(temporary);
    file_ = disk_.create_new(candidate, taken);
    if (file_ != kNoFile) {
      // Moved, not copied: nothing here may fail once the file exists.
      temporary_ = std::move(candidate);
      return;
    }
    if (!taken) return;
  }
}

NewFile::~NewFile() {
  // An unpublished file goes: an unnamed one when it is closed (how that
  // went is then of no use), a named one by its name. Should that removal
  // fail, the temporary stays, named for what it is.
  if (file_ != kNoFile) (void)disk_.close(file_);
  if (!temporary_.name.empty()) (void)disk_.remove(temporary_);
}

bool NewFile::put(const char* bytes, std::size_t size) {
  failed_ = failed_ || file_ == kNoFile || !disk_.write(file_, bytes, size);
  return !failed_;
}

Published NewFile::publish() {
  if (file_ == kNoFile || !flush() || failed_ || !disk_.flush(file_)) {
    return Published::kFailed;
  }
  Published result = disk_.give_name(file_, temporary_, name_);
  // The name is there whether or not its folder could be flushed.
  if (result == Published::kDone) (void)disk_.sync_folder(folder_);
  return result;
}

}  // namespace tenapi
