// The harness of the end-to-end tests: the built program, started as a
// user would start it, with piped standard input in a fresh working folder.
#ifndef TENAPI_TESTS_E2E_H_
#define TENAPI_TESTS_E2E_H_

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "console/screens.h"

namespace e2e {

// Set when the program under test is a Windows build run under wine.
inline bool windows() {
  const char* value = std::getenv("TENAPI_WINDOWS");
  return value != nullptr && *value != '\0';
}

// The bytes a cleared console leaves in standard output.
inline std::string clear_bytes() {
  const char* value = std::getenv("TENAPI_CLEAR");
  return value != nullptr ? value : "\x1b[H\x1b[2J";
}

// The arguments that start the program: TENAPI_PROGRAM (default: the
// program built beside these tests), run by TENAPI_WRAPPER when that is set
// (wine for a Windows build). Each is one argument, blanks and all.
inline std::vector<std::string> program() {
  std::vector<std::string> argv;
  const char* wrapper = std::getenv("TENAPI_WRAPPER");
  if (wrapper != nullptr && *wrapper != '\0') argv.push_back(wrapper);
  const char* value = std::getenv("TENAPI_PROGRAM");
  argv.push_back(value != nullptr && *value != '\0' ? value : TENAPI_PROGRAM_DEFAULT);
  return argv;
}

// Set when these tests run under AddressSanitizer, which reserves far more
// address space than any limit a test could set.
inline bool sanitized() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#else
  return false;
#endif
#else
  return false;
#endif
}

// Standard output expected for these screens shown in order.
inline std::string screens(std::initializer_list<int> numbers) {
  std::string out;
  for (int number : numbers)
    out += clear_bytes() + tenapi::screen_text(static_cast<tenapi::Screen>(number));
  return out;
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// The on-disk name of a path typed with backslashes: a Windows program
// takes them as folder separators, a POSIX one as part of the file name.
inline std::string native(const std::string& typed) {
  std::string path = typed;
  if (windows()) {
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
  }
  return path;
}

// structure.txt holding these lines, then empty ones up to 198 lines.
inline std::string outline(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  for (std::size_t i = lines.size(); i < 198; ++i) out += "\r\n";
  return out;
}

// Resource limits for one run of the program; 0 leaves one unset.
struct Limits {
  rlim_t file_size = 0;      // bytes any file written may hold
  rlim_t address_space = 0;  // bytes of address space
};

struct Result {
  std::string out;
  int status = -1;
  double seconds = 0;      // from the start to the end of the program
  double cpu_seconds = 0;  // processor time the program used
  long peak_kib = 0;       // peak resident memory of the program
};

// A fresh working folder, removed with its contents at the end of the test.
class E2e : public testing::Test {
 public:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "tenapi_e2e_XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    ASSERT_NE(mkdtemp(buffer.data()), nullptr);
    dir_ = buffer.data();
    signal(SIGPIPE, SIG_IGN);
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
    EXPECT_FALSE(error) << error.message();
  }

  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  // Runs the program in the folder with `input` piped to it and its
  // standard output piped back, under `limits`.
  Result run(const std::string& input, Limits limits = {}) {
    Result result;
    int in_fds[2];
    int out_fds[2];
    if (pipe(in_fds) != 0 || pipe(out_fds) != 0) return result;
    pid_t pid = fork();
    if (pid == 0) {
      dup2(in_fds[0], 0);
      dup2(out_fds[1], 1);
      close(in_fds[0]);
      close(in_fds[1]);
      close(out_fds[0]);
      close(out_fds[1]);
      if (chdir(workdir_.empty() ? dir_.c_str() : workdir_.c_str()) != 0) _exit(126);
      if (limits.file_size > 0) {
        // wine cannot ignore SIGXFSZ for the Windows program it runs.
        if (windows()) signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {limits.file_size, limits.file_size};
        setrlimit(RLIMIT_FSIZE, &limit);
      }
      if (limits.address_space > 0) {
        struct rlimit limit = {limits.address_space, limits.address_space};
        setrlimit(RLIMIT_AS, &limit);
      }
      std::vector<std::string> words = program();
      std::vector<char*> argv;
      for (std::string& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    close(in_fds[0]);
    close(out_fds[1]);
    auto start = std::chrono::steady_clock::now();
    std::thread feeder([fd = in_fds[1], &input, hold = hold_input_ms_] {
      for (std::size_t done = 0; done < input.size();) {
        ssize_t n = write(fd, input.data() + done, input.size() - done);
        if (n <= 0) break;
        done += n;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(hold));
      close(fd);
    });
    // A program that never ends fails the test instead of hanging it.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    auto kill_at = start + std::chrono::milliseconds(kill_after_ms_);
    bool hung = false;
    bool killed = false;
    for (;;) {
      struct pollfd ready = {out_fds[0], POLLIN, 0};
      if (std::chrono::steady_clock::now() > deadline) {
        hung = true;
        kill(pid, SIGKILL);
        break;
      }
      if (kill_after_ms_ > 0 && !killed && std::chrono::steady_clock::now() >= kill_at) {
        kill(pid, SIGKILL);
        killed = true;
      }
      if (poll(&ready, 1, kill_after_ms_ > 0 ? 1 : 100) <= 0) continue;
      char buffer[4096];
      ssize_t n = read(out_fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      result.out.append(buffer, n);
    }
    close(out_fds[0]);
    int status = 0;
    struct rusage usage = {};
    wait4(pid, &status, 0, &usage);
    result.peak_kib = usage.ru_maxrss;
    result.cpu_seconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    feeder.join();
    if (hung) {
      ADD_FAILURE() << "the program did not end";
      return result;
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (windows()) {
      // A Windows console program writes CR LF for each line feed.
      std::string plain;
      for (std::size_t i = 0; i < result.out.size(); ++i) {
        if (result.out[i] == '\r' && i + 1 < result.out.size() && result.out[i + 1] == '\n') {
          continue;
        }
        plain += result.out[i];
      }
      result.out = plain;
    }
    return result;
  }

  std::string dir_;
  // The folder the program starts in, when it is not dir_.
  std::string workdir_;
  // How long standard input stays open after the input has been written.
  int hold_input_ms_ = 0;
  // When to kill the program (SIGKILL), counted from its start; 0: never.
  int kill_after_ms_ = 0;
};

}  // namespace e2e

#endif  // TENAPI_TESTS_E2E_H_
