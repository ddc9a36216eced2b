#include "app/analyse_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <string>

// While armed, allocations are counted and fail from the `at`-th on: that
// one alone, or with every later one.
static struct {
  bool armed, every_later;
  std::size_t at, count;
} faults;

void* operator new(std::size_t size) {
  if (faults.armed && ++faults.count >= faults.at &&
      (faults.every_later || faults.count == faults.at))
    throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace tenapi {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AnalyseFile, EveryFailedAllocationEndsAsDesigned) {
  // square.xml where its output path allocates: in a folder (on Linux, a
  // name with the backslash).
  const fs::path home = fs::current_path(), dir = fs::path(testing::TempDir()) / "tenapi_memory";
  const std::string input = "folder-of-taro\\square.xml";
  const fs::path folder = dir / fs::path(input).parent_path(),
                 output = "folder-of-taro\\structure.txt";
  fs::create_directories(folder);
  std::ofstream(dir / input, std::ios::binary) << read(TENAPI_EXAMPLES "/square.xml");
  const std::string outline = read(TENAPI_EXAMPLES "/square.structure.txt");
  fs::current_path(dir);
  Disk disk;
  auto analyse = [&](std::size_t at, bool every_later) {
    fs::remove(output);
    faults = {true, every_later, at, 0};
    FileOutcome outcome = analyse_file(disk, input);
    faults.armed = false;
    return outcome;
  };
  ASSERT_EQ(analyse(SIZE_MAX, false), FileOutcome::kWritten);
  const std::size_t total = faults.count;
  // Not read until the output path is made (the first allocation), not
  // written from then on (the last), written only when nothing failed (or
  // a failure was made good), exactly; nothing left beside the input.
  for (bool every_later : {false, true}) {
    FileOutcome phase = FileOutcome::kNotRead;
    for (std::size_t at = 1; at <= total + 1; ++at) {
      FileOutcome outcome = analyse(at, every_later);
      const bool written = outcome == FileOutcome::kWritten;
      const std::string what = std::to_string(at) + (every_later ? " on" : " alone");
      if (at == total) phase = FileOutcome::kNotWritten;
      EXPECT_TRUE(written ? at > total || !every_later
                          : outcome >= phase && (at > 1 || outcome == phase))
          << what;
      EXPECT_EQ(written ? read(output) : outline, outline) << what;
      EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                written ? 2 : 1)
          << what;
      if (!written) phase = outcome;
    }
  }
  fs::current_path(home);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tenapi
