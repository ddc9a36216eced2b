// Input that no editor wrote, on standard input and as the input file, and
// a file system that fills up while the outline is written.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e.h"
#include "tests/test_state.h"
#include "translate/pipeline.h"

namespace e2e {
namespace {

// The outline for `bytes` worked out with the stages themselves and a
// plain line split, independently of the program's own line reader.
std::string expected_outline(const std::string& bytes) {
  reset_pipeline();
  std::string text = bytes.substr(0, bytes.find('\x1a'));
  std::vector<std::string> stored;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    bool has_lf = end != std::string::npos;
    if (!has_lf) end = text.size();
    std::string line = text.substr(start, end - start);
    if (has_lf && !line.empty() && line.back() == '\r') line.pop_back();
    std::string out = translate_token(classify_line(line));
    if (out != "***") {
      if (stored.size() < 198) stored.push_back(indent_line(out));
      carried_line.clear();
    }
    start = end + 1;
  }
  return outline(stored);
}

// True when `out` is a run of whole screens, each after a cleared console.
bool only_screens(std::string out) {
  while (!out.empty()) {
    bool found = false;
    for (int number : {1, 2, 3, 4, 5, 999, 0}) {
      std::string screen = clear_bytes() + tenapi::screen_text(static_cast<tenapi::Screen>(number));
      if (out.compare(0, screen.size(), screen) == 0 && (number != 0 || out == screen)) {
        out.erase(0, screen.size());
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  return true;
}

TEST_F(E2e, BinaryAndMalformedInputFiles) {
  std::mt19937 random(20261207);
  std::vector<std::string> files = {
      std::string("<field name=\"A\">\0x\0</field>\n\0\0\0\n</statement>\0\n", 36),
      // Invalid Shift_JIS: lead bytes without trail bytes, lone trail bytes.
      "<block type=\"mevok_variable_change\" id=\"\x81\">\n<field name=\"V\">\x82</field>\n"
      "<field name=\"N\">\xff\xfe\x80 0</field>\n<field name=\"N\">7\x81</field>\n",
      // A Ctrl+Z in the middle of a line ends the input there.
      "<block type=\"mevok_main\" id=\"a\">\n<statement name=\"DO\x1a\">\n</statement>\n",
      "\r\r\r\n\r\n\n\r",
      "<field name=\"A\"\n<value\n\"\n>\n<\n<statement \n</statement \n",
  };
  for (int i = 0; i < 20; ++i) {
    std::string bytes(1 + random() % 3000, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    files.push_back(bytes);
  }
  // The same bytes again, spread over lines of XML-like fragments.
  const char* pieces[] = {"<block type=\"mevok_forward\" ",
                          "<field name=\"N\">",
                          "</field>",
                          "<statement name=\"DO\">",
                          "</statement>",
                          "\n",
                          "\r\n",
                          "0",
                          "x",
                          "<shadow type=\"mevok_number\">",
                          "<block type=\"mevok_sum\">",
                          "<block type=\"mevok_variable\">",
                          " ",
                          "\"",
                          ">",
                          "<"};
  for (int i = 0; i < 20; ++i) {
    std::string bytes;
    for (int n = random() % 400; n > 0; --n) bytes += pieces[random() % std::size(pieces)];
    files.push_back(bytes);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::remove(path("structure.txt").c_str());
    write_file(path("in.xml"), files[i]);
    Result r = run("1\nin.xml\n\n");
    EXPECT_EQ(r.status, 0) << "file " << i;
    EXPECT_EQ(r.out, screens({1, 2, 5})) << "file " << i;
    EXPECT_EQ(read_file(path("structure.txt")), expected_outline(files[i])) << "file " << i;
  }
}

TEST_F(E2e, AnyBytesOnStandardInput) {
  write_file(path("prog.xml"), "<block type=\"mevok_main\" id=\"m\">\n");
  std::mt19937 random(7);
  const char alphabet[] = {'0', '1', '2', ' ', '\n', '\n',   '\r',   '\t',
                           'b', 'a', 'c', 'k', '\0', '\xff', '\x1a', '\x81'};
  for (int i = 0; i < 60; ++i) {
    std::string input;
    for (int n = random() % 40; n > 0; --n) input += alphabet[random() % sizeof alphabet];
    if (i % 3 == 0) input += " prog.xml\n";
    std::remove(path("structure.txt").c_str());
    Result r = run(input);
    EXPECT_EQ(r.status, 0) << testing::PrintToString(input);
    EXPECT_TRUE(only_screens(r.out)) << testing::PrintToString(input);
  }
}

TEST_F(E2e, LineLargerThanMemory) {
  if (windows() || sanitized()) GTEST_SKIP() << "needs an address space limit on the program";
  // 96 MiB in one line cannot be held within 64 MiB of address space: the
  // analysis fails like a file that does not open, and writes nothing.
  write_file(path("huge.xml"), "<field name=\"A\">" + std::string(96 << 20, 'x') + "\n");
  Result r = run("1\nhuge.xml\n\nback\n0\n", {0, rlim_t{64} << 20});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 3, 2, 1, 0}));
  EXPECT_FALSE(exists(path("structure.txt")));
}

TEST_F(E2e, FullFileSystem) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  std::string full = path("full");
  ASSERT_EQ(mkdir(full.c_str(), 0755), 0);
  if (mount("tmpfs", full.c_str(), "tmpfs", 0, "size=8k") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  // Unmounted however the test ends, so that no mount outlives it; lazily,
  // as a process that ran there may still hold it for a moment (wine's
  // server keeps the folder of the .exe it ran).
  struct Unmount {
    std::string dir;
    ~Unmount() { umount2(dir.c_str(), MNT_DETACH); }
  } unmount{full};
  // Fill every block, then start the program in that folder: the input
  // lies elsewhere, and the outline (no backslash) goes into the folder.
  std::string filler = full + "/filler";
  {
    std::FILE* file = std::fopen(filler.c_str(), "wb");
    std::string block(4096, 'f');
    while (std::fwrite(block.data(), 1, block.size(), file) == block.size() &&
           std::fflush(file) == 0) {
    }
    std::fclose(file);
  }
  write_file(path("prog.xml"), "<block type=\"mevok_main\" id=\"m\">\n");
  workdir_ = full;
  Result r = run("1\n" + path("prog.xml") + "\n\nback\n0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 4, 2, 1, 0}));
  // Neither structure.txt nor a temporary file is left.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(full)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"filler"});
}

}  // namespace
}  // namespace e2e
