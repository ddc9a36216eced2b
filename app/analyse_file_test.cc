#include "app/analyse_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <vector>

namespace {

// While armed, allocations are counted, and fail from the `at`-th on: that
// one alone, or with every later one.
struct Faults {
  bool armed = false;
  bool every_later = false;
  std::size_t at = 0;
  std::size_t count = 0;
} faults;

}  // namespace

// The program's every allocation through here (new[] and nothrow new too).
void* operator new(std::size_t size) {
  if (faults.armed && ++faults.count >= faults.at && (faults.every_later || faults.count == faults.at))
    throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace tenapi {
namespace {

std::string read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(AnalyseFile, EveryFailedAllocationEndsAsDesigned) {
  // A real program in a fresh folder, the working one, so that structure.txt
  // goes there: memory fails at each allocation of its analysis in turn.
  const std::string program = read(TENAPI_EXAMPLES "/square.xml");
  const std::string outline = read(TENAPI_EXAMPLES "/square.structure.txt");
  const std::filesystem::path home = std::filesystem::current_path();
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) /
                                    ("tenapi_memory_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directory(dir);
  std::filesystem::current_path(dir);
  std::ofstream("square.xml", std::ios::binary) << program;
  auto analyse = [](std::size_t at, bool every_later) {
    std::filesystem::remove("structure.txt");
    faults = {true, every_later, at, 0};
    FileOutcome outcome = analyse_file("square.xml");
    faults.armed = false;
    return outcome;
  };
  ASSERT_EQ(analyse(SIZE_MAX, false), FileOutcome::kWritten);
  const std::size_t total = faults.count;
  for (bool every_later : {false, true}) {
    // Not read until the output path is made, not written from then on;
    // written only with nothing failed (or a failure made good), exactly.
    std::size_t outcomes[3] = {};
    FileOutcome phase = FileOutcome::kNotRead;
    for (std::size_t at = 1; at <= total + 1; ++at) {
      FileOutcome outcome = analyse(at, every_later);
      const std::string what = "allocation " + std::to_string(at) + (every_later ? " on" : " alone");
      std::vector<std::string> left;
      for (const auto& entry : std::filesystem::directory_iterator(".")) left.push_back(entry.path().filename().string());
      std::sort(left.begin(), left.end());
      ++outcomes[static_cast<int>(outcome)];
      if (outcome == FileOutcome::kWritten) {
        EXPECT_TRUE(at > total || !every_later) << what;
        EXPECT_EQ(read("structure.txt"), outline) << what;
        EXPECT_EQ(left, (std::vector<std::string>{"square.xml", "structure.txt"})) << what;
      } else {
        EXPECT_LE(at, total) << what;
        EXPECT_FALSE(outcome == FileOutcome::kNotRead && phase == FileOutcome::kNotWritten) << what;
        EXPECT_EQ(left, std::vector<std::string>{"square.xml"}) << what;
        phase = outcome;
      }
    }
    std::printf("%zu allocations, failed %s: %zu not read, %zu not written, %zu written\n", total,
                every_later ? "from each on" : "each alone", outcomes[0], outcomes[1], outcomes[2]);
  }
  std::filesystem::current_path(home);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tenapi
