#include "output/new_file.h"

#include <chrono>
#include <cstdint>
#include <utility>

#include "output/file_system.h"

namespace tenapi {

NewFile::NewFile(const std::string& name) : name_(name), folder_(folder_of(name)) {
  // Unnamed where the system allows it, so that a killed process leaves
  // nothing behind.
  stream_ = create_unnamed(folder_);
  if (stream_ != nullptr) return;
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
    stream_ = create_new(candidate, taken);
    if (stream_ != nullptr) {
      // Moved, not copied: nothing here may fail once the file exists.
      temporary_ = std::move(candidate);
      return;
    }
    if (!taken) return;
  }
}

NewFile::~NewFile() {
  // An unpublished file goes: an unnamed one with its stream (how that
  // close went is then of no use), a named one by its name. Should that
  // removal fail, the temporary stays, named for what it is.
  if (stream_ != nullptr) (void)std::fclose(stream_);
  if (!temporary_.name.empty()) (void)remove_file(temporary_);
}

Published NewFile::publish() {
  if (stream_ == nullptr || !flush_to_disk(stream_)) return Published::kFailed;
  Published result = give_name(stream_, temporary_, name_);
  if (result == Published::kDone) sync_folder(folder_);
  return result;
}

}  // namespace tenapi
