#include "output/output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
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
  ASSERT_EQ(write_structure(path, *lines), Published::kDone);
  std::string bytes = read(path);
  std::string expected = "int main() {\r\n  \x82\xa0\r\n} else {\r\n    leftturn = 90\r\n";
  for (int i = 4; i < 197; ++i) expected += "\r\n";
  expected += "     last\r\n";
  EXPECT_EQ(bytes, expected);
  // A second write finds the file and leaves it alone.
  EXPECT_EQ(write_structure(path, *lines), Published::kExists);
  EXPECT_EQ(read(path), expected);
  EXPECT_EQ(names(), std::vector<std::string>{"structure.txt"});
}

TEST_F(Folder, NameTakenWhileTheFileIsWritten) {
  // Another program creates the name after the check and before the
  // publish: its file keeps its bytes, and no temporary is left.
  std::string path = (dir_ / "structure.txt").string();
  {
    NewFile file(path);
    ASSERT_NE(file.stream(), nullptr);
    std::fputs("ours\r\n", file.stream());
    std::ofstream(path, std::ios::binary) << "theirs";
    EXPECT_EQ(file.publish(), Published::kExists);
  }
  EXPECT_EQ(read(path), "theirs");
  EXPECT_EQ(names(), std::vector<std::string>{"structure.txt"});
  // A file never published is removed with its temporary name.
  std::filesystem::remove(path);
  {
    NewFile file(path);
    ASSERT_NE(file.stream(), nullptr);
    std::fputs("abandoned", file.stream());
  }
  EXPECT_EQ(names(), std::vector<std::string>{});
}

}  // namespace
}  // namespace tenapi
