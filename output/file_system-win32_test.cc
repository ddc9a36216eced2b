#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <thread>

#include "output/file_system.h"

namespace tenapi {
namespace {

TEST(GiveName, WaitsForAFileHeldForAMoment) {
  // Another program (a virus scanner) holds the file so that it cannot be
  // moved: for 100 ms it gets its name; for 2 s it does not, and is removed
  // once it is free.
  for (DWORD held : {DWORD{100}, DWORD{2000}}) {
    const std::string name = testing::TempDir() + "held-" + std::to_string(held);
    SystemName temporary = system_name(name + ".incomplete"), kept = temporary;
    HANDLE mine = CreateFileW(temporary.wide.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW, 0, nullptr);
    std::FILE* file = _fdopen(_open_osfhandle(reinterpret_cast<intptr_t>(mine), _O_BINARY), "wb");
    HANDLE other =
        CreateFileW(temporary.wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(file != nullptr && other != INVALID_HANDLE_VALUE);
    std::thread holder([&] {
      Sleep(held);
      (void)CloseHandle(other);
    });
    Published published = give_name(file, temporary, name);
    holder.join();
    EXPECT_EQ(published, held == 100 ? Published::kDone : Published::kFailed);
    EXPECT_TRUE(held == 100 ? temporary.name.empty() : remove_file(temporary));
    EXPECT_EQ(std::filesystem::exists(name), held == 100);
    EXPECT_FALSE(std::filesystem::exists(kept.name));
    std::filesystem::remove(name);
  }
}

}  // namespace
}  // namespace tenapi
