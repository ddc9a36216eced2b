// POSIX systems: a new file is linked or moved into place without
// replacing, or else copied into an exclusively created file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "output/file_system.h"

namespace tenapi {

namespace {

// Creates `name` exclusively and copies all the bytes of `fd` into it: the
// way to publish where the file system has no hard links nor an exclusive
// rename.
Published copy_to_new(int fd, const std::string& name) {
  int out = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (out < 0) return errno == EEXIST ? Published::kExists : Published::kFailed;
  char buffer[1 << 16];
  ssize_t n = 0;
  for (off_t at = 0; (n = pread(fd, buffer, sizeof buffer, at)) > 0; at += n) {
    if (write(out, buffer, static_cast<std::size_t>(n)) != n) break;
  }
  // The last read found the end only when every byte was copied.
  bool ok = n == 0 && fsync(out) == 0;
  if (close(out) == 0 && ok) return Published::kDone;
  // What was copied goes; should that fail, a partial file keeps the name.
  (void)unlink(name.c_str());
  return Published::kFailed;
}

}  // namespace

SystemName system_name(const std::string& name) { return {name, {}}; }

bool file_exists(const std::string& name) {
  struct stat info;
  return lstat(name.c_str(), &info) == 0;
}

std::string folder_of(const std::string& name) {
  std::string::size_type slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

std::FILE* create_unnamed([[maybe_unused]] const std::string& folder) {
  int fd = -1;
#ifdef O_TMPFILE
  // Linking an unnamed file needs /proc unless the process is privileged.
  if (access("/proc/self/fd", X_OK) == 0 || geteuid() == 0) {
    fd = open(folder.c_str(), O_TMPFILE | O_RDWR, 0666);
  }
#endif
  std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "w+b");
  // Without a stream the descriptor goes, and the unnamed file with it.
  if (file == nullptr && fd >= 0) (void)close(fd);
  return file;
}

std::FILE* create_new(const SystemName& name, bool& taken) {
  int fd = open(name.name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
  taken = fd < 0 && errno == EEXIST;
  std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "w+b");
  if (file == nullptr && fd >= 0) {
    // The file made here is empty: nothing is lost if these fail.
    (void)close(fd);
    (void)unlink(name.name.c_str());
  }
  return file;
}

bool flush_to_disk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

Published give_name(std::FILE*& file, SystemName& temporary, const std::string& name) {
  int fd = fileno(file);
  if (temporary.name.empty()) {
#ifdef O_TMPFILE
    int linked = linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
    if (linked != 0 && errno != EEXIST) {
      // AT_EMPTY_PATH needs a privilege; the path in /proc does not.
      std::string self = "/proc/self/fd/" + std::to_string(fd);
      linked = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
    }
    if (linked == 0) return Published::kDone;
    if (errno == EEXIST) return Published::kExists;
#endif
    return copy_to_new(fd, name);
  }
  // A second name; the temporary one is removed with the NewFile.
  if (link(temporary.name.c_str(), name.c_str()) == 0) return Published::kDone;
  if (errno == EEXIST) return Published::kExists;
#ifdef RENAME_NOREPLACE
  // No hard links here (FAT, exFAT, some network shares).
  if (renameat2(AT_FDCWD, temporary.name.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
    temporary.name.clear();
    return Published::kDone;
  }
  if (errno == EEXIST) return Published::kExists;
#endif
  return copy_to_new(fd, name);
}

bool remove_file(const SystemName& name) { return unlink(name.name.c_str()) == 0; }

void sync_folder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  // The name is in place already; a folder that cannot be flushed keeps it.
  (void)fsync(fd);
  (void)close(fd);
}

}  // namespace tenapi
