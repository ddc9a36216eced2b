#include "output/output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "output/new_file.h"

namespace tenapi {
namespace {

TEST(OutputPath, CutsAtTheLastBackslash) {
  EXPECT_EQ(output_path("C:\\Users\\me\\prog.xml"), "C:\\Users\\me\\structure.txt");
  EXPECT_EQ(output_path("prog.xml"), "structure.txt");
  EXPECT_EQ(output_path(""), "structure.txt");
  EXPECT_EQ(output_path("dir\\"), "dir\\structure.txt");
  EXPECT_EQ(output_path("a\\\\b.xml"), "a\\\\structure.txt");
  // A forward slash is not a separator.
  EXPECT_EQ(output_path("sub/prog.xml"), "structure.txt");
  EXPECT_EQ(output_path("a\\b/c.xml"), "a\\structure.txt");
  // Shift_JIS bytes whose second byte is 0x5C are still cut there: the
  // path's bytes are never decoded.
  EXPECT_EQ(output_path("\x95\x5c.xml"), "\x95\x5cstructure.txt");
}

// A fresh folder of its own, removed with what it holds at the end.
class Folder : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(testing::TempDir()) /
           ("tenapi_output_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directory(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // The names of the files in the folder.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      out.push_back(entry.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  std::filesystem::path dir_;
};

std::string read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(Folder, WritesTheFirst198EntriesWithCrLf) {
  std::string path = (dir_ / "structure.txt").string();
  auto lines = std::make_unique<Outline>();
  (*lines)[0] = {0, "int main() {"};
  (*lines)[1] = {1, "\x82\xa0"};
  (*lines)[2] = {-3, "} else {"};
  (*lines)[3] = {2, "leftturn = 90"};
  (*lines)[197] = {2, " last"};
  Disk disk;
  ASSERT_EQ(write_structure(disk, path, *lines), Published::kDone);
  std::string bytes = read(path);
  std::string expected = "int main() {\r\n  \x82\xa0\r\n} else {\r\n    leftturn = 90\r\n";
  for (int i = 4; i < 197; ++i) expected += "\r\n";
  expected += "     last\r\n";
  EXPECT_EQ(bytes, expected);
  // A second write finds the file and leaves it alone.
  EXPECT_EQ(write_structure(disk, path, *lines), Published::kExists);
  EXPECT_EQ(read(path), expected);
  EXPECT_EQ(names(), std::vector<std::string>{"structure.txt"});
}

TEST_F(Folder, NameTakenWhileTheFileIsWritten) {
  // Another program creates the name after the check and before the
  // publish: its file keeps its bytes, and no temporary is left.
  std::string path = (dir_ / "structure.txt").string();
  Disk disk;
  {
    NewFile file(disk, path);
    ASSERT_TRUE(file.made() && file.write("ours\r\n", 6));
    std::ofstream(path, std::ios::binary) << "theirs";
    EXPECT_EQ(file.publish(), Published::kExists);
  }
  EXPECT_EQ(read(path), "theirs");
  EXPECT_EQ(names(), std::vector<std::string>{"structure.txt"});
  // A file never published is removed with its temporary name.
  std::filesystem::remove(path);
  {
    NewFile file(disk, path);
    ASSERT_TRUE(file.made() && file.write("abandoned", 9));
  }
  EXPECT_EQ(names(), std::vector<std::string>{});
}

// The system's disk, whose calls of a kind fail from fail_at on: that one
// (fail_at > 0), or every one (fail_at < 0). Each kind's calls are counted.
class FaultyDisk : public Disk {
 public:
  // clang-format off
  enum Call { kExists, kUnnamed, kNew, kWrite, kFlush, kClose, kLink, kMove, kCopy, kRemove, kSync };
  // clang-format on
  std::array<int, 11> fail_at{}, calls{};

  bool exists(const std::string& n) override { return !fails(kExists) && Disk::exists(n); }
  FileHandle create_unnamed(const std::string& folder) override {
    return fails(kUnnamed) ? kNoFile : Disk::create_unnamed(folder);
  }
  FileHandle create_new(const SystemName& n, bool& taken) override {
    return (taken = false), fails(kNew) ? kNoFile : Disk::create_new(n, taken);
  }
  bool write(FileHandle f, const char* b, std::size_t s) override {
    return !fails(kWrite) && Disk::write(f, b, s);
  }
  bool flush(FileHandle f) override { return !fails(kFlush) && Disk::flush(f); }
  // A failed close leaves the file closed all the same.
  bool close(FileHandle f) override { return Disk::close(f) && !fails(kClose); }
  Published link(FileHandle f, const SystemName& t, const std::string& n) override {
    return fails(kLink) ? Published::kFailed : Disk::link(f, t, n);
  }
  Published move(const SystemName& t, const std::string& n) override {
    return fails(kMove) ? Published::kFailed : Disk::move(t, n);
  }
  Published copy(FileHandle f, const std::string& n) override {
    return fails(kCopy) ? Published::kFailed : Disk::copy(f, n);
  }
  bool remove(const SystemName& n) override { return !fails(kRemove) && Disk::remove(n); }
  bool sync_folder(const std::string& f) override { return !fails(kSync) && Disk::sync_folder(f); }

 private:
  bool fails(Call call) { return ++calls[call] == fail_at[call] || fail_at[call] < 0; }
};

TEST_F(Folder, EveryFailedDiskCallEndsAsDesigned) {
  using F = FaultyDisk;
  // A call that fails at each place it is made, with `before` failing throughout: what
  // write_structure says on POSIX and on Windows (kNotMade where that system never makes the call),
  // and whether the temporary is left (with structure.txt exact exactly when it says kDone).
  // Without the unnamed file, the named temporary.
  constexpr Published kDone = Published::kDone, kFailed = Published::kFailed;
  constexpr std::optional<Published> kNotMade;
  const struct {
    F::Call call;
    std::vector<F::Call> before;
    std::optional<Published> posix, windows;
    bool left_posix, left_windows;
  } rows[] = {
      {F::kExists, {}, kDone, kDone, false, false},  // a failed check says absent
      {F::kNew, {F::kUnnamed}, kFailed, kFailed, false, false},
      {F::kWrite, {}, kFailed, kFailed, false, false},
      {F::kWrite, {F::kUnnamed}, kFailed, kFailed, false, false},
      {F::kFlush, {}, kFailed, kFailed, false, false},
      // On POSIX the file has its name before it is closed.
      {F::kClose, {F::kUnnamed}, kDone, kFailed, false, false},
      // Each way of naming goes on to the next; Windows only moves.
      {F::kLink, {}, kDone, kNotMade, false, false},
      {F::kLink, {F::kUnnamed}, kDone, kNotMade, false, false},
      {F::kMove, {F::kUnnamed, F::kLink}, kDone, kFailed, false, false},
      {F::kCopy, {F::kLink}, kFailed, kNotMade, false, false},
      {F::kCopy, {F::kUnnamed, F::kLink, F::kMove}, kFailed, kNotMade, false, false},
      // The named temporary goes by its name after a link; a move takes it.
      {F::kRemove, {F::kUnnamed}, kDone, kNotMade, true, false},
      {F::kRemove, {F::kUnnamed, F::kWrite}, kFailed, kFailed, true, true},
      {F::kSync, {}, kDone, kDone, false, false},
  };
  constexpr bool kWindows = std::filesystem::path::preferred_separator == L'\\';
  const std::string path = (dir_ / "structure.txt").string();
  // Four parts to write, the last at the publish.
  auto lines = std::make_unique<Outline>();
  (*lines)[0] = {80000, "a"};
  (*lines)[1] = {20000, "b"};
  Disk plain;
  ASSERT_EQ(write_structure(plain, path, *lines), kDone);
  const std::string rendered = read(path);
  std::filesystem::remove(path);
  // Each place of the call in turn, from the first to the last.
  for (const auto& row : rows) {
    const std::optional<Published> want = kWindows ? row.windows : row.posix;
    for (int at = 1;; ++at) {
      F disk;
      for (F::Call call : row.before) disk.fail_at[call] = -1;
      disk.fail_at[row.call] = at;
      const std::string what = "call " + std::to_string(row.call) + " at " + std::to_string(at);
      const Published got = write_structure(disk, path, *lines);
      // The failure happened, or the call is never made here.
      EXPECT_EQ(disk.calls[row.call] >= at, want.has_value()) << what;
      const std::vector<std::string> left = names();
      const bool temporary =
          left.size() > (got == kDone) && left.back().rfind("structure.txt.incomplete-", 0) == 0;
      if (want) {
        EXPECT_EQ(got, *want) << what;
        EXPECT_EQ(temporary, kWindows ? row.left_windows : row.left_posix) << what;
        EXPECT_EQ(left.size(), std::size_t{got == kDone} + temporary) << what;
        EXPECT_EQ(got == kDone ? read(path) : rendered, rendered) << what;
      }
      std::filesystem::remove_all(dir_);
      std::filesystem::create_directory(dir_);
      if (disk.calls[row.call] <= at) break;
    }
  }
}

}  // namespace
}  // namespace tenapi
