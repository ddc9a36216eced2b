// The harness of the end-to-end tests: the built program, started as a
// user would start it, with piped standard input in a fresh working folder.
#ifndef TENAPI_TESTS_E2E_H_
#define TENAPI_TESTS_E2E_H_

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace e2e {

// Set when the program under test is a Windows build run under wine
// (TENAPI_WINDOWS).
bool windows();

// The bytes a cleared console leaves in standard output (TENAPI_CLEAR).
std::string clear_bytes();

// The arguments that start the program: TENAPI_PROGRAM (default: the
// program built beside these tests), run by the words of TENAPI_WRAPPER
// when that is set (wine for a Windows build, strace for the fault test).
std::vector<std::string> program();

// Set when these tests run under AddressSanitizer, which reserves far more
// address space than any limit a test could set.
bool sanitized();

// Standard output expected for these screens shown in order; 0 stands for
// the cleared console that the program ends with.
std::string screens(std::initializer_list<int> numbers);

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);

// The on-disk name of a path typed with backslashes: a Windows program
// takes them as folder separators, a POSIX one as part of the file name.
std::string native(const std::string& typed);

// The files in `dir` and its folders, by their paths from it, sorted.
std::vector<std::string> files_in(const std::string& dir);

// structure.txt holding these lines, then empty ones up to 198 lines.
std::string outline(const std::vector<std::string>& lines);

// How to run the program once.
struct Options {
  rlim_t file_size = 0;      // bytes any file written may hold; 0: no limit
  rlim_t address_space = 0;  // bytes of address space; 0: no limit
  std::string workdir;       // the folder to start in, when not the test's
  int hold_input_ms = 0;     // how long input stays open after it is written
  int kill_after_ms = 0;     // when to kill the program (SIGKILL); 0: never
};

// What one run of the program did.
struct Result {
  std::string out;         // standard output, with CR LF as LF from wine
  int status = -1;         // exit status, or 128 and the signal
  double seconds = 0;      // from the start to the end of the program
  double cpu_seconds = 0;  // processor time the program used
  long peak_kib = 0;       // peak resident memory of the program
};

// A fresh working folder, removed with its contents at the end of the test.
class E2e : public testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // The path of `name` in the working folder.
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  // Runs the program in the working folder with `input` piped to it and
  // its standard output piped back.
  Result run(const std::string& input, const Options& options = {});

  // Analyses `typed` from the menu, with `output` (as typed, relative to
  // the working folder) removed first: expects the screens of a written
  // outline, status 0, and `expected` as the bytes of `output`.
  Result analyse(const std::string& typed, const std::string& expected,
                 const std::string& output = "structure.txt");

  std::string dir_;

 private:
  Result run_once(const std::string& input, const Options& options);
};

}  // namespace e2e

#endif  // TENAPI_TESTS_E2E_H_
