// Inputs far larger than any saved program, made on the fly: the program
// must finish, give the defined outline, and keep its memory bounded by
// the longest line rather than by the size of the file.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e.h"

namespace e2e {
namespace {

constexpr long kMiB = 1024;  // peak_kib units per MiB

// Writes `piece` repeated until the file holds at least `bytes` bytes.
void write_repeated(const std::string& path, const std::string& piece, std::size_t bytes) {
  std::string block;
  while (block.size() < (1 << 20)) block += piece;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  for (std::size_t written = 0; written < bytes; written += block.size()) {
    ASSERT_EQ(std::fwrite(block.data(), 1, block.size(), file), block.size());
  }
  std::fclose(file);
}

// A million statements opened, then as many main blocks as the old line
// buffer held: every stored line is indented by two million blanks.
void write_deep(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  for (int i = 0; i < 1000000; ++i) std::fputs("<statement name=\"DO\">\n", file);
  for (int i = 0; i < 1516; ++i) std::fputs("<block type=\"mevok_main\" id=\"x\">\n", file);
  ASSERT_EQ(std::fclose(file), 0);
}

TEST_F(E2e, OneGigabyteOfShortLines) {
  // A realistic program saved over and over: its seven outline lines
  // repeat through all 198 lines of the file.
  std::string program = read_file(TENAPI_EXAMPLES "/square.xml") + "\n";
  std::vector<std::string> seven = {"int main() {",     "  count = 4",        "  while() {",
                                    "    forward = 50", "    rightturn = 90", "  } else {",
                                    "} else {"};
  std::vector<std::string> lines;
  for (int i = 0; i < 198; ++i) lines.push_back(seven[i % 7]);
  write_repeated(path("small.xml"), program, 1 << 20);
  long small = analyse("small.xml", outline(lines)).peak_kib;
  write_repeated(path("huge.xml"), program, std::size_t{1} << 30);
  long huge = analyse("huge.xml", outline(lines)).peak_kib;
  std::remove(path("huge.xml").c_str());
  EXPECT_LT(huge, 8 * kMiB);
  EXPECT_LT(huge - small, 1 * kMiB);
}

TEST_F(E2e, HundredMegabyteLines) {
  // The program's peak counts what it shares with this process between
  // fork and exec: the files are made, and let go, before it runs.
  const std::size_t size = 100 << 20;
  {
    std::string text(size, 'x');
    write_file(path("long.xml"), "<block type=\"mevok_variable_change\" id=\"" + text + "\">\n" +
                                     "<field name=\"VAR\">v</field>\n" + "<field name=\"NUM\">" +
                                     text + "</field>\n" + "<statement name=\"" +
                                     std::string(size, '\0') + "\n");
    // The costliest line there is: its text is the first field text, and
    // it completes a move statement, so it is held three times.
    write_file(path("first.xml"), "<block type=\"mevok_forward\" id=\"f\">\n<field name=\"NUM\">" +
                                      text + "</field>\n");
  }
  for (const char* name : {"long.xml", "first.xml"}) {
    std::string start = name[0] == 'l' ? "v = " : "forward = ";
    Result r = analyse(name, outline({start + std::string(size, 'x')}));
    // At most three times the longest line, and 16 MiB besides.
    EXPECT_LT(r.peak_kib, 3 * 100 * kMiB + 16 * kMiB) << name;
  }
}

TEST_F(E2e, DeepNestingKeepsMemoryFlat) {
  // Its time against a program twice as deep is bench/deep.sh's.
  write_deep(path("deep.xml"));
  // Within 256 MiB of address space, unless a sanitizer needs far more.
  Options bounded;
  bounded.address_space = sanitized() ? 0 : rlim_t{256} << 20;
  Result r = run("1\ndeep.xml\n\n", bounded);
  EXPECT_EQ(r.out, screens({1, 2, 5}));
  EXPECT_LT(r.peak_kib, 64 * kMiB);
  // 198 lines of 2,000,000 blanks, "int main() {" and CR LF.
  const std::string line = std::string(2000000, ' ') + "int main() {\r\n";
  std::ifstream in(path("structure.txt"), std::ios::binary | std::ios::ate);
  EXPECT_EQ(static_cast<long long>(in.tellg()), 396002772);
  std::string got(line.size(), '\0');
  for (std::streamoff at :
       {std::streamoff{0}, std::streamoff(97 * line.size()), std::streamoff(197 * line.size())}) {
    in.seekg(at);
    in.read(&got[0], got.size());
    EXPECT_EQ(got, line) << "at " << at;
  }
}

TEST_F(E2e, KilledWhileWritingLeavesNoPartialOutline) {
  // A deep program whose outline takes 396 MB, so that a learner who
  // closes the window while it is written is likely to hit the write.
  write_deep(path("deep.xml"));
  Result whole = run("1\ndeep.xml\n\n");
  ASSERT_EQ(whole.out, screens({1, 2, 5}));
  ASSERT_EQ(std::rename(path("structure.txt").c_str(), path("whole.txt").c_str()), 0);
  const std::string expected = read_file(path("whole.txt"));
  ASSERT_EQ(expected.size(), 396002772u);
  // Killed at eight points spread over a run: structure.txt is absent or
  // complete, and nothing else is left in the folder.
  const int steps = 8;
  int complete = 0;
  for (int i = 1; i <= steps; ++i) {
    Options killed;
    killed.kill_after_ms = static_cast<int>(1000 * whole.seconds * i / (steps + 1));
    run("1\ndeep.xml\n\n", killed);
    std::vector<std::string> names = files_in(dir_);
    if (exists(path("structure.txt"))) {
      EXPECT_TRUE(read_file(path("structure.txt")) == expected)
          << "killed after " << killed.kill_after_ms;
      EXPECT_EQ(names, (std::vector<std::string>{"deep.xml", "structure.txt", "whole.txt"}));
      std::remove(path("structure.txt").c_str());
      ++complete;
    } else {
      EXPECT_EQ(names, (std::vector<std::string>{"deep.xml", "whole.txt"}));
    }
  }
  std::printf("of %d kills, %d left structure.txt, %d nothing at all\n", steps, complete,
              steps - complete);
  // The next run completes with the exact outline.
  analyse("deep.xml", expected);
}

TEST_F(E2e, FilesOfOneKindOfLine) {
  // One line of only CRs.
  write_repeated(path("cr.xml"), "\r", 50 << 20);
  analyse("cr.xml", outline({}));
  // Every line a field: the first text is "0", which the name rule finds
  // in every field line, and no template is ever placed.
  write_repeated(path("fields.xml"), "<field name=\"NUM\">0</field>\n", 50 << 20);
  analyse("fields.xml", outline({}));
  // Every line closes a statement: the depth goes ever more negative.
  write_repeated(path("close.xml"), "</statement>\r\n", 50 << 20);
  analyse("close.xml", outline(std::vector<std::string>(198, "} else {")));
  // Every line opens one: nothing is stored, and the depth climbs.
  write_repeated(path("open.xml"), "<statement name=\"DO\">\n", 50 << 20);
  analyse("open.xml", outline({}));
}

}  // namespace
}  // namespace e2e
