#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "output/file_system.h"

namespace tenapi {
namespace {

// A handle that another program (a virus scanner, the search indexer)
// holds on a file without letting it be moved, let go after a while.
struct Holder {
  HANDLE handle;
  DWORD milliseconds;
};

DWORD WINAPI let_go(void* held) {
  auto* holder = static_cast<Holder*>(held);
  Sleep(holder->milliseconds);
  (void)CloseHandle(holder->handle);
  return 0;
}

TEST(GiveName, WaitsForAFileHeldForAMoment) {
  // Held for 100 ms the file gets its name; held past the tries it does
  // not, and is removed once it is free.
  for (DWORD milliseconds : {DWORD{100}, DWORD{2000}}) {
    auto dir = std::filesystem::path(testing::TempDir()) / ("tenapi_held_" + std::to_string(milliseconds));
    std::filesystem::create_directories(dir);
    SystemName temporary = system_name((dir / "structure.txt.incomplete-test").u8string());
    const std::string name = (dir / "structure.txt").u8string();
    HANDLE mine = CreateFileW(temporary.wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(mine, INVALID_HANDLE_VALUE);
    std::FILE* file = _fdopen(_open_osfhandle(reinterpret_cast<intptr_t>(mine), _O_BINARY), "w+b");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fputs("outline", file), 0);
    ASSERT_TRUE(flush_to_disk(file));
    Holder holder{CreateFileW(temporary.wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr),
                  milliseconds};
    ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
    HANDLE thread = CreateThread(nullptr, 0, let_go, &holder, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    Published published = give_name(file, temporary, name);
    (void)WaitForSingleObject(thread, INFINITE);
    (void)CloseHandle(thread);
    if (milliseconds == 100) {
      EXPECT_EQ(published, Published::kDone);
      EXPECT_TRUE(temporary.name.empty());
      EXPECT_TRUE(std::filesystem::exists(name));
    } else {
      EXPECT_EQ(published, Published::kFailed);
      EXPECT_TRUE(remove_file(temporary));
    }
    EXPECT_EQ(std::filesystem::exists(dir / "structure.txt.incomplete-test"), false);
    std::filesystem::remove_all(dir);
  }
}

}  // namespace
}  // namespace tenapi
