// End-to-end tests of the console dialogue, the waits and the output file.
#include "tests/e2e.h"

#include <fcntl.h>
#include <iconv.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace e2e {
namespace {

// The typical file of a main block with one forward move.
const char kTypical[] =
    "<xml xmlns=\"ns\">\n"
    "  <block type=\"mevok_main\" id=\"m1\">\n"
    "    <statement name=\"DO\">\n"
    "      <block type=\"mevok_forward\" id=\"f1\">\n"
    "        <value name=\"NUM\">\n"
    "          <shadow type=\"mevok_number\" id=\"n1\">\n"
    "            <field name=\"NUM\">10</field>\n"
    "          </shadow>\n"
    "        </value>\n"
    "      </block>\n"
    "    </statement>\n"
    "  </block>\n"
    "</xml>\n";

const std::vector<std::string> kTypicalOutline = {"int main() {", "  forward = 10", "} else {"};

TEST_F(E2e, AnalysisWritesTheOutlineAndEnds) {
  write_file(path("prog.xml"), kTypical);
  analyse("prog.xml", outline(kTypicalOutline));
}

TEST_F(E2e, InputLineEndsDoNotChangeTheOutline) {
  // CR LF line ends, no line end after the last line, and a Ctrl+Z that
  // ends the file early all give the same outline.
  std::string crlf;
  for (char c : std::string(kTypical)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  crlf.resize(crlf.size() - 2);
  write_file(path("a.xml"), crlf);
  write_file(path("b.xml"), std::string(kTypical) + "\x1a<block type=\"mevok_main\" id=\"z\">\n");
  write_file(path("c.xml"), "");
  for (const char* name : {"a.xml", "b.xml"}) analyse(name, outline(kTypicalOutline));
  // An empty file still gives 198 empty lines.
  analyse("c.xml", outline({}));
}

TEST_F(E2e, GoldenExample) {
  std::string example = read_file(TENAPI_EXAMPLES "/square.xml");
  ASSERT_FALSE(example.empty());
  write_file(path("square.xml"), example);
  analyse("square.xml", read_file(TENAPI_EXAMPLES "/square.structure.txt"));
}

TEST_F(E2e, MenuChoices) {
  // A "1" anywhere starts an analysis; here input then ends at the prompt.
  for (const char* word : {"1", "10", "01", "x1y"}) {
    Result r = run(std::string("\n\n") + word + "\n");
    EXPECT_EQ(r.status, 0) << word;
    EXPECT_EQ(r.out, screens({1, 2})) << word;
  }
  // A "0" and no "1" ends at once with a cleared console.
  for (const char* word : {"0", "20", "x0"}) {
    Result r = run(std::string(word) + "\n1\n");
    EXPECT_EQ(r.status, 0) << word;
    EXPECT_EQ(r.out, screens({1}) + clear_bytes()) << word;
  }
  // Anything else is refused, and the wait takes the next line.
  for (const char* word : {"2", "abc", "\x81\xcb"}) {
    Result r = run(std::string(word) + "\n\n0\n");
    EXPECT_EQ(r.status, 0) << word;
    EXPECT_EQ(r.out, screens({1, 999, 1, 0})) << word;
  }
}

TEST_F(E2e, WaitsEndWithTheRestOfTheLine) {
  // After a word alone on its line the wait takes the whole next line, so
  // "0" is discarded and input then ends at the menu.
  Result alone = run("2\n0\n");
  EXPECT_EQ(alone.status, 0);
  EXPECT_EQ(alone.out, screens({1, 999, 1}));
  // After a word followed by more text, the wait ends with that line.
  Result more = run("2 \n0\n");
  EXPECT_EQ(more.out, screens({1, 999, 1, 0}));
  Result words = run("2 x y\n0\n");
  EXPECT_EQ(words.out, screens({1, 999, 1, 0}));
}

TEST_F(E2e, FilePromptCycles) {
  write_file(path("prog.xml"), kTypical);
  // "back" returns to the menu; a word after it is the next menu word.
  Result back = run("1\nback\n0\n");
  EXPECT_EQ(back.out, screens({1, 2, 1, 0}));
  Result back_same_line = run("1\nback 0\n");
  EXPECT_EQ(back_same_line.out, screens({1, 2, 1, 0}));
  // Other spellings, and words that only begin with "back", are paths.
  Result other = run("1\nBack\n\nBACK\n\nbackup.xml\n\nback\n0\n");
  EXPECT_EQ(other.out, screens({1, 2, 3, 2, 3, 2, 3, 2, 1, 0}));
  // The wait after an unopened file takes the next line whole, so the
  // first "back" below is discarded and the second leaves the prompt.
  Result waited = run("1\nnone.xml\nback\nback\n0\n");
  EXPECT_EQ(waited.out, screens({1, 2, 3, 2, 1, 0}));
  // A path with a blank: only its first word is tried, and the wait ends
  // with the rest of that line; the next line is the next path.
  write_file(path("my prog.xml"), kTypical);
  Result blank = run("1\nmy prog.xml\nprog.xml\n\n");
  EXPECT_EQ(blank.out, screens({1, 2, 3, 2, 5}));
  EXPECT_EQ(blank.status, 0);
  EXPECT_EQ(read_file(path("structure.txt")), outline(kTypicalOutline));
}

// `utf8` as a pipe carries a typed name: UTF-8 on Linux, and the ANSI code
// page (932, Japanese) under which the Windows build runs in these tests.
std::string piped(const std::string& utf8) {
  if (!windows()) return utf8;
  iconv_t to_cp932 = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* to = &out[0];
  std::size_t to_left = out.size();
  iconv(to_cp932, &in, &in_left, &to, &to_left);
  iconv_close(to_cp932);
  out.resize(out.size() - to_left);
  return out;
}

TEST_F(E2e, JapaneseNamesAndQuotedPaths) {
  // Names whose code page 932 form holds the byte 0x5C (the backslash) in
  // a character: ソ, 表, 予, 十, 申. The outline lands beside the input, in a
  // folder as well, and under no other name.
  ASSERT_EQ(mkdir(path(native(u8"表示")).c_str(), 0755), 0);
  ASSERT_EQ(mkdir(path(native("a b")).c_str(), 0755), 0);
  struct Row {
    std::string typed;   // as typed at the prompt, in UTF-8
    std::string input;   // the input file, with backslashes as typed
    std::string folder;  // where structure.txt must land ("" or "X\\")
  };
  std::vector<Row> rows = {
      {u8"ソース.xml", u8"ソース.xml", ""},
      {u8"表示\\予定.xml", u8"表示\\予定.xml", u8"表示\\"},
      // Dragged from a folder with a blank: in double quotes.
      {u8"\"十 申.xml\"", u8"十 申.xml", ""},
      {"\"a b\\prog.xml\"", "a b\\prog.xml", "a b\\"},
  };
  if (windows()) {
    // An absolute path, from drive Z: (wine's view of the root folder).
    std::string folder = "Z:" + dir_;
    for (char& c : folder) c = c == '/' ? '\\' : c;
    rows.push_back({folder + u8"\\表示\\予定.xml", u8"表示\\予定.xml", u8"表示\\"});
  }
  for (const Row& row : rows) {
    std::filesystem::remove(path(native(row.folder + "structure.txt")));
    write_file(path(native(row.input)), kTypical);
    std::vector<std::string> before = files_in(dir_);
    analyse(piped(row.typed), outline(kTypicalOutline), row.folder + "structure.txt");
    before.push_back(native(row.folder + "structure.txt"));
    std::sort(before.begin(), before.end());
    EXPECT_EQ(files_in(dir_), before) << row.typed;
  }
  // Without its closing quote on the line, the word is taken as ever: it
  // does not open, and the wait takes the rest of the line. "back" in
  // quotes is a path; reading goes on after the closing quote.
  std::filesystem::remove(path(native("a b\\structure.txt")));
  Result r = run("1\n\"a b\\prog.xml\n\"back\"\n\nback\n0\n");
  EXPECT_EQ(r.out, screens({1, 2, 3, 2, 3, 2, 1, 0}));
  EXPECT_FALSE(exists(path(native("a b\\structure.txt"))));
}

TEST_F(E2e, TwoWordsOnTheMenuLine) {
  write_file(path("prog.xml"), kTypical);
  // Words end at any white space: a blank, a tab, a CR before the LF.
  for (const char* input : {"1 prog.xml\n\n", "1\tprog.xml\n\n", "1\r\nprog.xml\r\n\r\n"}) {
    std::remove(path("structure.txt").c_str());
    Result r = run(input);
    EXPECT_EQ(r.status, 0) << testing::PrintToString(input);
    EXPECT_EQ(r.out, screens({1, 2, 5})) << testing::PrintToString(input);
    EXPECT_EQ(read_file(path("structure.txt")), outline(kTypicalOutline));
  }
}

TEST_F(E2e, EachStoredLineEmptiesTheCarriedLine) {
  // A field after a stored line finds the carried line empty, so the
  // completion rule returns that empty line, indented: after the move
  // statement, and after "while() {", which leaves an if template behind.
  std::string program = kTypical;
  const std::string field = "<field name=\"NUM\">10</field>\n";
  program.insert(program.find(field) + field.size(),
                 "<field name=\"NUM\">7</field>\n"
                 "<block type=\"mevok_if_else\" id=\"i\">\n"
                 "<block type=\"mevok_while_infinity\" id=\"w\">\n"
                 "<field name=\"NUM\">8</field>\n");
  write_file(path("prog.xml"), program);
  analyse("prog.xml",
          outline({"int main() {", "  forward = 10", "  ", "  while() {", "  ", "} else {"}));
}

TEST_F(E2e, EndOfInputAtEveryPromptAndWait) {
  write_file(path("prog.xml"), kTypical);
  EXPECT_EQ(run("").out, screens({1}));
  EXPECT_EQ(run("   \n\n").out, screens({1}));
  EXPECT_EQ(run("1").out, screens({1, 2}));
  EXPECT_EQ(run("2").out, screens({1, 999, 1}));
  EXPECT_EQ(run("1\nnone.xml").out, screens({1, 2, 3, 2}));
  // Input ends in the closing wait: the outline is written all the same.
  // The program waits there: it ends only when its input does.
  Options held;
  held.hold_input_ms = 500;
  Result closing = run("1\nprog.xml\n", held);
  EXPECT_EQ(closing.status, 0);
  EXPECT_EQ(closing.out, screens({1, 2, 5}));
  EXPECT_GE(closing.seconds, 0.5);
  EXPECT_EQ(read_file(path("structure.txt")), outline(kTypicalOutline));
  // Input ends in the wait after a refused write.
  Result refused = run("1\nprog.xml\n");
  EXPECT_EQ(refused.status, 0);
  EXPECT_EQ(refused.out, screens({1, 2, 4, 2}));
}

TEST_F(E2e, ExistingOutputFileIsLeftAlone) {
  write_file(path("prog.xml"), kTypical);
  write_file(path("structure.txt"), "mine\n");
  // The wait after the refusal discards the first "back".
  Result r = run("1\nprog.xml\nback\nback\n0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 4, 2, 1, 0}));
  EXPECT_EQ(read_file(path("structure.txt")), "mine\n");
  // The input file may itself be the existing output file.
  Result self = run("1\nstructure.txt\n\nback\n0\n");
  EXPECT_EQ(self.out, screens({1, 2, 4, 2, 1, 0}));
  EXPECT_EQ(read_file(path("structure.txt")), "mine\n");
}

TEST_F(E2e, OnlyFilesAndPipesAreInput) {
  // Folders and devices are refused like files that do not open: a device
  // such as /dev/zero would never end. Each name is refused by both builds.
  ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
  for (const char* name : {"sub", "/dev/zero", "/dev/tty", "NUL", "CON", "COM1"}) {
    Result r = run(std::string("1\n") + name + "\n\nback\n0\n");
    EXPECT_EQ(r.status, 0) << name;
    EXPECT_EQ(r.out, screens({1, 2, 3, 2, 1, 0})) << name;
  }
  EXPECT_FALSE(exists(path("structure.txt")));
  if (windows()) return;
  // A named pipe is read like a file.
  ASSERT_EQ(mkfifo(path("pipe.xml").c_str(), 0644), 0);
  std::thread writer([this] { write_file(path("pipe.xml"), kTypical); });
  Result r = run("1\npipe.xml\n\n");
  // Should the program not have opened the pipe, this lets the writer go.
  close(open(path("pipe.xml").c_str(), O_RDONLY | O_NONBLOCK));
  writer.join();
  EXPECT_EQ(r.out, screens({1, 2, 5}));
  EXPECT_EQ(read_file(path("structure.txt")), outline(kTypicalOutline));
}

TEST_F(E2e, FailedWriteLeavesNoFile) {
  write_file(path("prog.xml"), kTypical);
  // 100 bytes cannot hold 198 CR LF line ends: the write fails part way.
  Options small;
  small.file_size = 100;
  Result r = run("1\nprog.xml\n\nback\n0\n", small);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 4, 2, 1, 0}));
  // Neither structure.txt nor a temporary file is left.
  EXPECT_EQ(files_in(dir_), std::vector<std::string>{"prog.xml"});
}

TEST_F(E2e, BackslashPaths) {
  // "sub\prog.xml" names prog.xml in folder sub on Windows, and a file
  // with a backslash in its name elsewhere; the outline goes beside it.
  ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
  write_file(path(native("sub\\prog.xml")), kTypical);
  Result r = run("1\nsub\\prog.xml\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 5}));
  EXPECT_EQ(read_file(path(native("sub\\structure.txt"))), outline(kTypicalOutline));
  EXPECT_FALSE(exists(path("structure.txt")));
  // A forward slash is no separator: the outline lands in the working folder.
  write_file(path("sub/other.xml"), kTypical);
  analyse("sub/other.xml", outline(kTypicalOutline));
}

TEST_F(E2e, ThousandsOfStoredLinesAndAFreshStateForEachAnalysis) {
  // 3000 nested main blocks: 3000 stored lines, far more than the buffer.
  std::string big;
  for (int i = 0; i < 3000; ++i) {
    big += "<block type=\"mevok_main\" id=\"m\">\n<statement name=\"DO\">\n";
  }
  write_file(path("big.xml"), big);
  write_file(path("structure.txt"), "keep");
  ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
  write_file(path(native("sub\\one.xml")), "<block type=\"mevok_main\" id=\"m\">\n");
  // The first write is refused; the second analysis starts afresh, not
  // from the depth of 3000 that the first one reached.
  Result r = run("1\nbig.xml\n\nsub\\one.xml\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, screens({1, 2, 4, 2, 5}));
  EXPECT_EQ(read_file(path("structure.txt")), "keep");
  EXPECT_EQ(read_file(path(native("sub\\structure.txt"))), outline({"int main() {"}));

  // Written directly, the file holds the first 198 of the stored lines.
  std::vector<std::string> first;
  for (int i = 0; i < 198; ++i) first.push_back(std::string(2 * i, ' ') + "int main() {");
  analyse("big.xml", outline(first));
}

TEST_F(E2e, TerminalGetsTheScreensInItsEncoding) {
  if (windows()) GTEST_SKIP() << "the Windows build's console output is tested in tmux";
  // The program's output is a terminal in a UTF-8 locale; its input ends
  // at once, so it shows the menu alone.
  int terminal = -1;
  int side = -1;
  if (openpty(&terminal, &side, nullptr, nullptr, nullptr) != 0) {
    GTEST_SKIP() << "no pseudo-terminals here";
  }
  std::vector<std::string> words = program();
  pid_t pid = fork();
  if (pid == 0) {
    dup2(side, 1);
    int none = open("/dev/null", O_RDONLY);
    dup2(none, 0);
    setenv("LC_ALL", "C.UTF-8", 1);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(side);
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  close(terminal);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_EQ(status, 0);
  // The terminal turns each line feed into CR LF.
  EXPECT_EQ(out, clear_bytes() +
                     "***\u3066\u306a\u3074\u89e3\u6790\u30b7\u30b9\u30c6\u30e0***\r\n"
                     "   1:\u3066\u306a\u3074\u306e\u89e3\u6790\r\n"
                     "   0:\u7d42\u4e86\r\n"
                     "   \u6570\u5024\u3092\u5165\u529b\u3057\u3066\u304f\u3060\u3055\u3044\r\n"
                     "   \u21d2");
}

}  // namespace
}  // namespace e2e
