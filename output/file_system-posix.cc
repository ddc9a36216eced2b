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

int fd_of(FileHandle file) { return static_cast<int>(file); }

// Writes all of `size` bytes to `fd`, going on after a part written.
bool write_all(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

Published taken_or_failed() { return errno == EEXIST ? Published::kExists : Published::kFailed; }

}  // namespace

SystemName system_name(const std::string& name) { return {name, {}}; }

std::string folder_of(const std::string& name) {
  std::string::size_type slash = name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : name.substr(0, slash);
}

bool Disk::exists(const std::string& name) {
  struct stat info;
  return lstat(name.c_str(), &info) == 0;
}

FileHandle Disk::create_unnamed([[maybe_unused]] const std::string& folder) {
#ifdef O_TMPFILE
  // Linking an unnamed file needs /proc unless the process is privileged.
  if (access("/proc/self/fd", X_OK) == 0 || geteuid() == 0) {
    return open(folder.c_str(), O_TMPFILE | O_RDWR, 0666);
  }
#endif
  return kNoFile;
}

FileHandle Disk::create_new(const SystemName& name, bool& taken) {
  int fd = open(name.name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
  taken = fd < 0 && errno == EEXIST;
  return fd;
}

bool Disk::write(FileHandle file, const char* bytes, std::size_t size) {
  return write_all(fd_of(file), bytes, size);
}

bool Disk::flush(FileHandle file) { return fsync(fd_of(file)) == 0; }

bool Disk::close(FileHandle file) { return ::close(fd_of(file)) == 0; }

Published Disk::link(FileHandle file, const SystemName& temporary, const std::string& name) {
  if (!temporary.name.empty()) {
    return ::link(temporary.name.c_str(), name.c_str()) == 0 ? Published::kDone : taken_or_failed();
  }
#ifdef O_TMPFILE
  if (linkat(fd_of(file), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return Published::kDone;
  if (errno == EEXIST) return Published::kExists;
  // AT_EMPTY_PATH needs a privilege; the path in /proc does not.
  std::string self = "/proc/self/fd/" + std::to_string(file);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return Published::kDone;
  }
  return taken_or_failed();
#else
  return Published::kFailed;
#endif
}

Published Disk::move([[maybe_unused]] const SystemName& temporary,
                     [[maybe_unused]] const std::string& name) {
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, temporary.name.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
    return Published::kDone;
  }
  return taken_or_failed();
#else
  return Published::kFailed;
#endif
}

// Creates `name` exclusively and copies all the bytes of the file into it:
// the way to publish where the file system has no hard links nor an
// exclusive rename.
Published Disk::copy(FileHandle file, const std::string& name) {
  int out = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (out < 0) return taken_or_failed();
  char buffer[1 << 16];
  ssize_t n = 0;
  for (off_t at = 0; (n = pread(fd_of(file), buffer, sizeof buffer, at)) > 0; at += n) {
    if (!write_all(out, buffer, static_cast<std::size_t>(n))) break;
  }
  // The last read found the end only when every byte was copied.
  bool ok = n == 0 && fsync(out) == 0;
  if (::close(out) == 0 && ok) return Published::kDone;
  // What was copied goes; should that fail, a partial file keeps the name.
  (void)unlink(name.c_str());
  return Published::kFailed;
}

bool Disk::remove(const SystemName& name) { return unlink(name.name.c_str()) == 0; }

bool Disk::sync_folder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  bool synced = fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

// A second name first (the temporary one is removed with the NewFile), else
// the temporary name changed (no hard links: FAT, exFAT, some network
// shares), else a copy.
Published Disk::give_name(FileHandle& file, SystemName& temporary, const std::string& name) {
  Published linked = link(file, temporary, name);
  if (linked != Published::kFailed) return linked;
  if (!temporary.name.empty()) {
    Published moved = move(temporary, name);
    if (moved == Published::kDone) temporary.name.clear();
    if (moved != Published::kFailed) return moved;
  }
  return copy(file, name);
}

}  // namespace tenapi
