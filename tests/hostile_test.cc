// Input that no editor wrote, on standard input and as the input file; a
// file system that fills up while the outline is written, and one without
// hard links.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e.h"

namespace e2e {
namespace {

// True when `file` is 198 lines, each ending in CR LF (no outline line
// holds a line feed, so every LF ends a line).
bool is_outline_file(const std::string& file) {
  std::size_t lines = 0;
  for (std::size_t i = 0; i < file.size(); ++i) {
    if (file[i] != '\n') continue;
    if (i == 0 || file[i - 1] != '\r') return false;
    ++lines;
  }
  return lines == 198 && !file.empty() && file.back() == '\n';
}

// True when `out` is a run of whole screens, each after a cleared console.
bool only_screens(std::string out) {
  while (!out.empty()) {
    bool found = false;
    for (int number : {1, 2, 3, 4, 5, 999, 0}) {
      std::string screen = screens({number});
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
  // Odd files, each with its outline.
  const std::vector<std::pair<std::string, std::vector<std::string>>> odd = {
      // NUL bytes are ordinary bytes; a "/statement" without a blank
      // after the "<" closes a statement.
      {std::string("<field name=\"A\">\0x\0</field>\n\0\0\0\n</statement>\0\n", 46), {"} else {"}},
      // Invalid Shift_JIS: lead bytes without trail bytes, lone trail bytes.
      {"<block type=\"mevok_variable_change\" id=\"\x81\">\n<field name=\"V\">\x82</field>\n"
       "<field name=\"N\">\xff\xfe\x80 0</field>\n<field name=\"N\">7\x81</field>\n",
       {"\x82 = 7\x81"}},
      // A Ctrl+Z in the middle of a line ends the input there.
      {"<block type=\"mevok_main\" id=\"a\">\n<statement name=\"DO\x1a\">\n</statement>\n",
       {"int main() {"}},
      {"\r\r\r\n\r\n\n\r", {}},
      {"<field name=\"A\"\n<value\n\"\n>\n<\n<statement \n</statement \n", {"} else {"}},
  };
  for (const auto& [bytes, lines] : odd) {
    write_file(path("in.xml"), bytes);
    analyse("in.xml", outline(lines));
  }
  // Random bytes, and XML-like fragments at random: the program completes
  // the dialogue and writes 198 lines with CR LF.
  std::vector<std::string> files;
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
    EXPECT_TRUE(is_outline_file(read_file(path("structure.txt")))) << "file " << i;
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
  Options small;
  small.address_space = rlim_t{64} << 20;
  Result r = run("1\nhuge.xml\n\nback\n0\n", small);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 3, 2, 1, 0}));
  EXPECT_FALSE(exists(path("structure.txt")));
}

// A file system mounted on a folder for one test, unmounted however the
// test ends, so that no mount outlives it; lazily, as a process that ran
// there may still hold it for a moment (wine's server keeps the folder of
// the .exe it ran). A loop device under it is let go as well.
struct Mount {
  std::string dir;
  std::string device;
  ~Mount() {
    umount2(dir.c_str(), MNT_DETACH);
    if (!device.empty()) std::system(("losetup -d " + device + " 2>/dev/null").c_str());
  }
};

TEST_F(E2e, FolderThatTakesNoFile) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  // A full folder and a read-only one, each a tmpfs of its own; the program
  // starts there, the input lies elsewhere, and the outline (no backslash)
  // goes into the folder: screen 4, and nothing left.
  write_file(path("prog.xml"), "<block type=\"mevok_main\" id=\"m\">\n");
  for (bool read_only : {false, true}) {
    std::string folder = path(read_only ? "read-only" : "full");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    if (mount("tmpfs", folder.c_str(), "tmpfs", read_only ? MS_RDONLY : 0, "size=8k") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    Mount mounted{folder, ""};
    // The full one with every block filled: a read-only folder stays empty.
    std::vector<std::string> before;
    if (!read_only) {
      std::FILE* file = std::fopen((folder + "/filler").c_str(), "wb");
      std::string block(4096, 'f');
      while (std::fwrite(block.data(), 1, block.size(), file) == block.size() &&
             std::fflush(file) == 0) {
      }
      std::fclose(file);
      before = {"filler"};
    }
    Options there;
    there.workdir = folder;
    Result r = run("1\n" + path("prog.xml") + "\n\nback\n0\n", there);
    EXPECT_EQ(r.status, 0) << folder;
    EXPECT_EQ(r.out, screens({1, 2, 4, 2, 1, 0})) << folder;
    EXPECT_EQ(files_in(folder), before) << folder;
  }
}

// Mounts a new exFAT image at `stick.dir` through FUSE, as on most USB
// sticks: no unnamed files, no hard links, and no rename that refuses to
// replace. False where it cannot be done.
bool mount_exfat(const std::string& image, Mount& stick) {
  write_file(image, "");
  if (geteuid() != 0 || truncate(image.c_str(), 8 << 20) != 0 ||
      mkdir(stick.dir.c_str(), 0755) != 0 ||
      std::system(("mkfs.exfat " + image + " >/dev/null 2>&1").c_str()) != 0) {
    return false;
  }
  if (std::FILE* losetup = popen(("losetup -f --show " + image + " 2>/dev/null").c_str(), "r")) {
    char line[256];
    if (std::fgets(line, sizeof line, losetup) != nullptr)
      stick.device.assign(line, std::strcspn(line, "\n"));
    pclose(losetup);
  }
  std::string mount = "mount.exfat-fuse " + stick.device + " " + stick.dir + " >/dev/null 2>&1";
  return !stick.device.empty() && std::system(mount.c_str()) == 0;
}

TEST_F(E2e, FileSystemWithoutHardLinks) {
  // The outline is written under a temporary name and copied into place.
  Mount stick{path("stick"), ""};
  if (!mount_exfat(path("stick.img"), stick))
    GTEST_SKIP() << "needs root, exfatprogs, exfat-fuse, a loop device and FUSE";
  const std::string expected = read_file(TENAPI_EXAMPLES "/square.structure.txt");
  write_file(stick.dir + "/square.xml", read_file(TENAPI_EXAMPLES "/square.xml"));
  Options on_stick;
  on_stick.workdir = stick.dir;
  Result r = run("1\nsquare.xml\n\n", on_stick);
  EXPECT_EQ(r.out, screens({1, 2, 5}));
  EXPECT_EQ(read_file(stick.dir + "/structure.txt"), expected);
  // The next analysis finds it and leaves it as it is.
  r = run("1\nsquare.xml\n\nback\n0\n", on_stick);
  EXPECT_EQ(r.out, screens({1, 2, 4, 2, 1, 0}));
  EXPECT_EQ(read_file(stick.dir + "/structure.txt"), expected);
  EXPECT_EQ(files_in(stick.dir), (std::vector<std::string>{"square.xml", "structure.txt"}));
}

// What a failed call must lead to, by the call and what it is made on.
const std::vector<std::pair<char, std::vector<std::string>>> kFaultTable = {
    // Reading the input, memory meanwhile: screen 3, nothing written.
    {'3', {"openat input", "newfstatat input", "read input", "mmap reading"}},
    // Writing, flushing or copying the new file, or creating it the last
    // way: screen 4, nothing left. (Memory from the output path on is the
    // unit test's, AnalyseFile.EveryFailedAllocationEndsAsDesigned.)
    {'4',
     {"write new", "fsync new", "pread64 new", "openat copy", "write copy", "fsync copy",
      "close copy", "openat named"}},
    // Another way to create or name it, looks that change nothing, and what
    // comes once the file has its name: the exact structure.txt.
    {'5',
     {"openat unnamed", "linkat", "link", "renameat2", "access", "munmap",
      "newfstatat structure.txt", "openat folder", "fsync folder", "close folder", "close new",
      "close input"}},
    // Removing the temporary: that too, the temporary left.
    {'6', {"unlink"}},
    // Standard output: that too, and the screens less the bytes not written.
    {'1', {"write stdout"}}};

TEST_F(E2e, EveryIoFaultEndsAsDesigned) {
  if (windows() || sanitized() || std::system("strace -qq -o /dev/null true 2>&1") != 0)
    GTEST_SKIP() << "needs strace that can trace, and the Linux build without sanitizers";
  // The outline needs the whole file: a move, and a megabyte later its field,
  // longer than the read buffer, and a megabyte later a statement.
  const std::string text(700000, 'x'), blank(1 << 20, '\n');
  const std::string program = "<block type=\"mevok_forward\" id=\"f\">\n" + blank +
                              "<field name=\"N\">" + text + "</field>\n" + blank +
                              "<statement name=\"DO\">\n</statement>";
  const std::string expected = outline({"forward = " + text, "} else {"});
  Mount stick{path("stick"), ""};
  std::vector<std::string> folders = {path("disk")};
  ASSERT_EQ(mkdir(folders[0].c_str(), 0755), 0);
  bool exfat = mount_exfat(path("stick.img"), stick);
  if (exfat) folders.push_back(stick.dir);
  std::set<std::string> seen;
  // Through the harness's wrapper, with the heap held from growing.
  const std::string held = "strace -f -qq -o " + path("trace") + " -e inject=brk:retval=0:when=1+";
  for (const std::string& folder : folders) {
    Options here{0, 0, folder};
    write_file(folder + "/prog.xml", program);
    // Traced once; then each call after the file prompt (the second clear),
    // named by what it is made on, fails in a run of its own: at that
    // occurrence, or for memory from it on.
    setenv("TENAPI_WRAPPER", held.c_str(), 1);
    ASSERT_EQ(run("1\nprog.xml\n\n", here).out, screens({1, 2, 5}));
    std::map<std::string, int> occurrences;
    std::map<int, std::string> on = {{1, "stdout"}};
    std::istringstream trace(read_file(path("trace")));
    std::size_t clears = 0, shown = 0;
    bool writing = false;  // once the output path is made
    for (std::string line; std::getline(trace, line);) {
      std::size_t name = line.find_first_not_of("0123456789 "), open = line.find('(', name);
      if (open == line.npos) continue;
      std::string call = line.substr(name, open - name), args = line.substr(open + 1), key = call;
      int k = ++occurrences[call], fd = std::atoi(args.c_str());
      std::size_t bytes =
          call == "write" && fd == 1 ? std::stoul(line.substr(line.rfind(", ") + 2)) : 0;
      clears += bytes > 0 && args.find("\"\\33[H") == 3;
      shown += bytes;
      if (call == "openat") {
        for (std::string kind : {"prog.xml input", "TMPFILE unnamed", ".incomplete- named",
                                 "DIREC folder", "O_EXCL copy"})
          if (key == call && args.find(kind.substr(0, kind.find(' '))) != args.npos)
            key += kind.substr(kind.find(' '));
        on[std::atoi(line.c_str() + line.rfind("= ") + 2)] =
            key.substr(std::min(key.size(), call.size() + 1));
      } else if (std::string(" read write fsync close fcntl newfstatat pread64 ")
                     .find(" " + call + " ") != line.npos) {
        std::size_t quote = args.find('"') + 1;
        std::string what =
            std::isdigit(args[0]) ? on[fd] : args.substr(quote, args.find('"', quote) - quote);
        key += " " + (call != "fcntl" && what.find("named") != what.npos ? "new" : what);
        writing = writing || key == "newfstatat structure.txt";
      } else if (call == "mmap") {
        key += writing ? " writing" : " reading";
      }
      if (clears < 2 || call == "exit_group" || call == "brk") continue;
      char row = 0;
      for (const auto& [outcome, calls] : kFaultTable)
        if (std::find(calls.begin(), calls.end(), key) != calls.end()) row = outcome;
      const std::string what = key + " failed at " + std::to_string(k) + " in " + folder;
      ASSERT_NE(row, 0) << "the table lacks " << what;
      seen.insert(key);
      std::string fault = (call == "mmap"    ? "ENOMEM"
                           : call == "write" ? "ENOSPC"
                                             : "EIO") +
                          (":when=" + std::to_string(k)) + (call == "mmap" ? "+" : "");
      setenv("TENAPI_WRAPPER", (held + " -e inject=" + call + ":error=" + fault).c_str(), 1);
      for (const std::string& f : files_in(folder))
        if (f != "prog.xml") std::remove((folder + "/" + f).c_str());
      Result r = run("1\nprog.xml\n\n", here);
      // The exit status, the whole sequence of screens, and the files left.
      bool written = row != '3' && row != '4';
      std::string out = written ? screens({1, 2, 5}) : screens({1, 2, row - '0', 2});
      if (row == '1') out.erase(shown - bytes, bytes);
      std::vector<std::string> left = files_in(folder), want = {"prog.xml"};
      if (written) want.push_back("structure.txt");
      if (row == '6' && left.size() == 3 && left[2].find(".incomplete-") != left[2].npos)
        left.pop_back();
      EXPECT_EQ(r.status, 0) << what;
      EXPECT_EQ(r.out, out) << what;
      EXPECT_EQ(left, want) << what;
      EXPECT_TRUE(!written || read_file(folder + "/structure.txt") == expected) << what;
      std::printf("%s: %c\n", what.c_str(), row);
    }
  }
  unsetenv("TENAPI_WRAPPER");
  // Every row occurs on one of the two.
  for (const auto& [outcome, calls] : kFaultTable)
    for (const std::string& key : calls)
      EXPECT_TRUE(seen.count(key) || !exfat) << "never made: " << key;
  if (!exfat)
    GTEST_SKIP() << "the exFAT half needs root, exfatprogs, exfat-fuse, a loop device and FUSE";
}

}  // namespace
}  // namespace e2e
