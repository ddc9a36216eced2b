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
  // square.xml in a fresh working folder, where its structure.txt goes.
  const fs::path home = fs::current_path(), dir = fs::path(testing::TempDir()) / "tenapi_memory";
  fs::create_directories(dir);
  std::ofstream(dir / "square.xml", std::ios::binary) << read(TENAPI_EXAMPLES "/square.xml");
  const std::string outline = read(TENAPI_EXAMPLES "/square.structure.txt");
  fs::current_path(dir);
  auto analyse = [](std::size_t at, bool every_later) {
    fs::remove("structure.txt");
    faults = {true, every_later, at, 0};
    FileOutcome outcome = analyse_file("square.xml");
    faults.armed = false;
    return outcome;
  };
  ASSERT_EQ(analyse(SIZE_MAX, false), FileOutcome::kWritten);
  const std::size_t total = faults.count;
  // Not read until the output path is made, not written from then on, and
  // written only when nothing failed (or a failure was made good), exactly;
  // nothing left beside the input but that.
  for (bool every_later : {false, true}) {
    FileOutcome phase = FileOutcome::kNotRead;
    for (std::size_t at = 1; at <= total + 1; ++at) {
      FileOutcome outcome = analyse(at, every_later);
      bool written = outcome == FileOutcome::kWritten;
      const std::string what =
          "allocation " + std::to_string(at) + (every_later ? " on" : " alone");
      EXPECT_TRUE(written ? at > total || !every_later : outcome >= phase) << what;
      EXPECT_EQ(written ? read("structure.txt") : outline, outline) << what;
      EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()),
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
