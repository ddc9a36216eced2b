// POSIX systems: ANSI escapes clear the terminal, iconv converts the
// screens for it, and new files are linked into place once complete.
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <string>

#include "console/platform.h"

namespace tenapi {

namespace {

// What iconv_open returns on failure, which also stands for "no converter".
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// A converter from code page 932 to the terminal's encoding, or
// kNoConverter when standard output is no terminal or none can be had.
iconv_t open_converter() {
  if (!isatty(STDOUT_FILENO)) return kNoConverter;
  // The user's locale names the terminal's encoding. It is consulted here
  // alone: the program itself keeps the "C" locale.
  std::setlocale(LC_CTYPE, "");
  std::string codeset = nl_langinfo(CODESET);
  std::setlocale(LC_CTYPE, "C");
  if (codeset == "CP932") return kNoConverter;
  return iconv_open(codeset.c_str(), "CP932");
}

// `text` in the terminal's encoding; false when any byte fails to convert.
bool convert(iconv_t converter, std::string_view text, std::string& out) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  // Four bytes out for each byte in is more than any encoding needs.
  out.assign(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char* to = &out[0];
  std::size_t to_left = out.size();
  if (iconv(converter, &in, &in_left, &to, &to_left) == static_cast<std::size_t>(-1) ||
      iconv(converter, nullptr, nullptr, &to, &to_left) == static_cast<std::size_t>(-1)) {
    return false;
  }
  out.resize(out.size() - to_left);
  return true;
}

}  // namespace

struct Terminal::State {
  // Converts the screens for the terminal; kNoConverter when none is needed.
  iconv_t converter = open_converter();
};

Terminal::Terminal() : state_(new State) {}

Terminal::~Terminal() {
  if (state_->converter != kNoConverter) iconv_close(state_->converter);
}

int Terminal::read_byte() { return std::getchar(); }

void Terminal::clear() {
  // Cursor home, then erase the whole screen.
  std::fputs("\x1b[H\x1b[2J", stdout);
  std::fflush(stdout);
}

void Terminal::write(std::string_view text) {
  std::string converted;
  if (state_->converter != kNoConverter && convert(state_->converter, text, converted)) {
    text = converted;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

std::string Terminal::file_name(const std::string& word) const { return word; }

InputFile open_input(const std::string& name) {
  InputFile file(std::fopen(name.c_str(), "rb"));
  if (!file) return nullptr;
  // Only files and pipes have lines to read: a folder has none, and a
  // device such as /dev/zero or /dev/tty never ends.
  struct stat info;
  if (fstat(fileno(file.get()), &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
    return nullptr;
  }
  return file;
}

bool file_exists(const std::string& name) {
  struct stat info;
  return lstat(name.c_str(), &info) == 0;
}

namespace {

// The folder that holds `name`: up to its last slash.
std::string folder_of(const std::string& name) {
  std::string::size_type slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

// Flushes the folder's entries to disk, so that a new name survives a
// power cut; where that is not possible the name is still there.
void sync_folder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Creates `name` exclusively and copies all the bytes of `fd` into it: the
// way to publish where the file system has no hard links nor an exclusive
// rename.
Published copy_to_new(int fd, const std::string& name) {
  int out = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (out < 0) return errno == EEXIST ? Published::kExists : Published::kFailed;
  char buffer[1 << 16];
  bool ok = true;
  for (off_t at = 0;;) {
    ssize_t n = pread(fd, buffer, sizeof buffer, at);
    if (n == 0) break;
    if (n < 0 || write(out, buffer, n) != n) {
      ok = false;
      break;
    }
    at += n;
  }
  if (fsync(out) != 0) ok = false;
  if (close(out) != 0) ok = false;
  if (!ok) {
    unlink(name.c_str());
    return Published::kFailed;
  }
  return Published::kDone;
}

}  // namespace

struct NewFile::State {
  std::string name;
  // The folder of `name`, found before anything is written, so that
  // nothing can fail for want of memory once the file has its name.
  std::string folder;
  // The temporary's name; empty for an unnamed one (Linux's O_TMPFILE).
  std::string temporary;
  std::FILE* stream = nullptr;

  // Links the unnamed file to `name`, or copies it there where no link can
  // be made.
  Published link_unnamed() {
#ifdef O_TMPFILE
    int fd = fileno(stream);
    int linked = linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
    if (linked != 0 && errno != EEXIST) {
      // AT_EMPTY_PATH needs a privilege; the path in /proc does not.
      std::string self = "/proc/self/fd/" + std::to_string(fd);
      linked = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
    }
    if (linked == 0) return Published::kDone;
    if (errno == EEXIST) return Published::kExists;
#endif
    return copy_to_new(fileno(stream), name);
  }

  // Gives the named temporary its name as well, or moves it there; the
  // destructor removes whatever temporary name is left.
  Published rename_named() {
    if (link(temporary.c_str(), name.c_str()) == 0) return Published::kDone;
    if (errno == EEXIST) return Published::kExists;
#ifdef RENAME_NOREPLACE
    // No hard links here (FAT, exFAT, some network shares).
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
      temporary.clear();
      return Published::kDone;
    }
    if (errno == EEXIST) return Published::kExists;
#endif
    return copy_to_new(fileno(stream), name);
  }
};

NewFile::NewFile(const std::string& name) : state_(new State) {
  State& s = *state_;
  s.name = name;
  s.folder = folder_of(name);
  // A write past a file size limit must fail with an error we can report,
  // not kill the process with SIGXFSZ.
  signal(SIGXFSZ, SIG_IGN);
  int fd = -1;
#ifdef O_TMPFILE
  // Unnamed, so that a killed process leaves nothing behind. Linking it
  // needs /proc unless the process is privileged.
  if (access("/proc/self/fd", X_OK) == 0 || geteuid() == 0) {
    fd = open(s.folder.c_str(), O_TMPFILE | O_RDWR, 0666);
  }
#endif
  if (fd < 0) {
    std::string pattern = name + ".incomplete-XXXXXX";
    fd = mkstemp(&pattern[0]);
    if (fd < 0) return;
    // Moved, not copied: nothing here may fail once the file exists.
    s.temporary = std::move(pattern);
    // mkstemp makes the file private; give it the usual rights, or make
    // none: an outline that others cannot read is not the one asked for.
    mode_t mask = umask(0);
    umask(mask);
    if (fchmod(fd, 0666 & ~mask) != 0) {
      (void)close(fd);
      return;
    }
  }
  s.stream = fdopen(fd, "w+b");
  // Without a stream the descriptor goes; its file, unnamed or named
  // (removed by the destructor), is then gone as well.
  if (s.stream == nullptr) (void)close(fd);
}

NewFile::~NewFile() {
  State& s = *state_;
  if (s.stream != nullptr) std::fclose(s.stream);
  if (!s.temporary.empty()) unlink(s.temporary.c_str());
}

std::FILE* NewFile::stream() const { return state_->stream; }

Published NewFile::publish() {
  State& s = *state_;
  if (s.stream == nullptr) return Published::kFailed;
  Published result = Published::kFailed;
  if (std::fflush(s.stream) == 0 && fsync(fileno(s.stream)) == 0) {
    result = s.temporary.empty() ? s.link_unnamed() : s.rename_named();
  }
  if (result == Published::kDone) sync_folder(s.folder);
  return result;
}

}  // namespace tenapi
