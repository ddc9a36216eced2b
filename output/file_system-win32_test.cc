#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <thread>

#include "output/file_system.h"

namespace tenapi {
namespace {

TEST(Disk, WaitsForAFileHeldForAMoment) {
  // Another program (a virus scanner) holds the file without letting it be
  // moved or removed: for 100 ms, it is moved to its name, then removed;
  // for 2 s, neither, and it keeps its temporary name.
  constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;
  Disk disk;
  for (DWORD held : {DWORD{100}, DWORD{2000}}) {
    const std::string name = testing::TempDir() + "held-" + std::to_string(held);
    SystemName temporary = system_name(name + ".incomplete");
    const SystemName kept = temporary, now = held == 100 ? system_name(name) : kept;
    FileHandle file = reinterpret_cast<FileHandle>(
        CreateFileW(kept.wide.c_str(), GENERIC_WRITE, kShared, nullptr, CREATE_NEW, 0, nullptr));
    for (const SystemName* holding : {&kept, &now}) {
      HANDLE other = CreateFileW(holding->wide.c_str(), GENERIC_READ, kShared, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
      std::thread holder([=] {
        Sleep(held);
        (void)CloseHandle(other);
      });
      const bool done = holding == &kept ? disk.give_name(file, temporary, name) == Published::kDone
                                         : disk.remove(now);
      holder.join();
      EXPECT_NE(other, INVALID_HANDLE_VALUE);
      EXPECT_EQ(done, held == 100);
    }
    EXPECT_EQ(std::filesystem::exists(now.name), held != 100);
    std::filesystem::remove(now.name);
  }
}

}  // namespace
}  // namespace tenapi
