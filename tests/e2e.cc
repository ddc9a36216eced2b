#include "tests/e2e.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "console/screens.h"

namespace e2e {

// Where TENAPI_NO_SKIP is set (CI, which has all that the tests need), a
// skipped test fails the run.
struct NoSkips : testing::Environment {
  void TearDown() override {
    int skipped = testing::UnitTest::GetInstance()->skipped_test_count();
    if (skipped > 0 && std::getenv("TENAPI_NO_SKIP") != nullptr)
      ADD_FAILURE() << skipped << " skipped (listed below), and TENAPI_NO_SKIP is set";
  }
};
const testing::Environment* const kNoSkips = testing::AddGlobalTestEnvironment(new NoSkips);

bool windows() {
  const char* value = std::getenv("TENAPI_WINDOWS");
  return value != nullptr && *value != '\0';
}

std::string clear_bytes() {
  const char* value = std::getenv("TENAPI_CLEAR");
  return value != nullptr ? value : "\x1b[H\x1b[2J";
}

std::vector<std::string> program() {
  std::vector<std::string> argv;
  const char* wrapper = std::getenv("TENAPI_WRAPPER");
  std::istringstream words(wrapper != nullptr ? wrapper : "");
  for (std::string word; words >> word;) argv.push_back(word);
  const char* value = std::getenv("TENAPI_PROGRAM");
  argv.push_back(value != nullptr && *value != '\0' ? value : TENAPI_PROGRAM_DEFAULT);
  return argv;
}

bool sanitized() {
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

std::string screens(std::initializer_list<int> numbers) {
  std::string out;
  for (int number : numbers) {
    out += clear_bytes() + tenapi::screen_text(static_cast<tenapi::Screen>(number));
  }
  return out;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::string native(const std::string& typed) {
  std::string path = typed;
  if (windows()) {
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
  }
  return path;
}

std::vector<std::string> files_in(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file()) names.push_back(entry.path().string().substr(dir.size() + 1));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string outline(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  for (std::size_t i = lines.size(); i < 198; ++i) out += "\r\n";
  return out;
}

void E2e::SetUp() {
  std::string pattern = testing::TempDir() + "tenapi_e2e_XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  ASSERT_NE(mkdtemp(buffer.data()), nullptr);
  dir_ = buffer.data();
  signal(SIGPIPE, SIG_IGN);
}

void E2e::TearDown() {
  std::error_code error;
  std::filesystem::remove_all(dir_, error);
  EXPECT_FALSE(error) << error.message();
}

Result E2e::run(const std::string& input, const Options& options) {
  // Once in some hundreds of starts on a busy machine, wine has ended with
  // status 1 before the program wrote a byte. The program's first act is
  // to clear the window, so such a run never began: it runs again, at most
  // twice, and says so.
  for (int runs = 1;; ++runs) {
    Result result = run_once(input, options);
    if (!windows() || !result.out.empty() || result.status == 0 || options.kill_after_ms > 0 ||
        runs == 3) {
      return result;
    }
    std::fprintf(stderr, "wine ended with status %d and no output: the program runs again\n",
                 result.status);
  }
}

Result E2e::run_once(const std::string& input, const Options& options) {
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
    if (chdir(options.workdir.empty() ? dir_.c_str() : options.workdir.c_str()) != 0) _exit(126);
    if (options.file_size > 0) {
      // wine cannot ignore SIGXFSZ for the Windows program it runs.
      if (windows()) signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit = {options.file_size, options.file_size};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (options.address_space > 0) {
      struct rlimit limit = {options.address_space, options.address_space};
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
  std::thread feeder([fd = in_fds[1], &input, hold = options.hold_input_ms] {
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
  auto kill_at = start + std::chrono::milliseconds(options.kill_after_ms);
  bool hung = false;
  bool killed = false;
  for (;;) {
    struct pollfd ready = {out_fds[0], POLLIN, 0};
    if (std::chrono::steady_clock::now() > deadline) {
      hung = true;
      kill(pid, SIGKILL);
      break;
    }
    if (options.kill_after_ms > 0 && !killed && std::chrono::steady_clock::now() >= kill_at) {
      kill(pid, SIGKILL);
      killed = true;
    }
    if (poll(&ready, 1, options.kill_after_ms > 0 ? 1 : 100) <= 0) continue;
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
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

Result E2e::analyse(const std::string& typed, const std::string& expected,
                    const std::string& output) {
  std::remove(path(native(output)).c_str());
  Result r = run("1\n" + typed + "\n\n");
  EXPECT_EQ(r.status, 0) << typed;
  EXPECT_EQ(r.out, screens({1, 2, 5})) << typed;
  std::string written = read_file(path(native(output)));
  if (written.size() + expected.size() < 100000) {
    EXPECT_EQ(written, expected) << typed;
  } else {
    // Hundreds of megabytes: compared without printing them.
    EXPECT_TRUE(written == expected) << typed << ": " << written.size() << " bytes in " << output
                                     << ", " << expected.size() << " expected";
  }
  return r;
}

}  // namespace e2e
