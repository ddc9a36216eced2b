#include "output/output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

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

TEST(WriteStructure, WritesTheFirst198EntriesWithCrLf) {
  // A name of its own, so that two runs at once do not meet.
  std::string path =
      testing::TempDir() + "write_structure_" + std::to_string(std::random_device{}()) + ".txt";
  auto lines = std::make_unique<LineBuffer>();
  (*lines)[0] = {0, "int main() {"};
  (*lines)[1] = {1, "\x82\xa0"};
  (*lines)[2] = {-3, "} else {"};
  (*lines)[197] = {2, " last"};
  ASSERT_TRUE(write_structure(path, *lines));
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string expected = "int main() {\r\n  \x82\xa0\r\n} else {\r\n";
  for (int i = 3; i < 197; ++i) expected += "\r\n";
  expected += "     last\r\n";
  EXPECT_EQ(bytes, expected);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tenapi
