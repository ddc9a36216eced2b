// The few operations that differ between Windows and other systems: the
// console's input and output, and opening and creating files. CMake builds
// platform_posix.cc or platform_win32.cc.
#ifndef TENAPI_CONSOLE_PLATFORM_H_
#define TENAPI_CONSOLE_PLATFORM_H_

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tenapi {

// The process's standard input and output as the user's console.
class Terminal {
 public:
  Terminal();
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  // The next byte of standard input, or EOF. Piped input comes as its
  // bytes; what is typed on a Windows console comes as UTF-8, each line
  // ending in LF, and Ctrl+Z ends the input.
  int read_byte();

  // Wipes the console window and puts the cursor at its top left corner.
  void clear();

  // Writes code page 932 text and flushes it: converted when standard
  // output is a terminal or console in another encoding, else as it is.
  void write(std::string_view text);

  // The file name that a word read from standard input names: on Windows
  // UTF-8 (piped bytes are in the ANSI code page), elsewhere the bytes.
  std::string file_name(const std::string& word) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Closes a file that was only read: nothing of it can be lost, so the
// status of the close is of no use.
struct CloseInput {
  void operator()(std::FILE* file) const { (void)std::fclose(file); }
};

// An input file, closed when it goes.
using InputFile = std::unique_ptr<std::FILE, CloseInput>;

// Opens a file or pipe for binary reading; null for a folder, a device or
// a failure. Names are UTF-8 on Windows.
InputFile open_input(const std::string& name);

// True when something (a file, a folder, a link) has this name.
bool file_exists(const std::string& name);

// What became of a file to be published under its name.
enum class Published { kDone, kExists, kFailed };

// A new file written out of sight, in the folder of `name`: without any
// name where the system allows it, else under a temporary name that says
// what it is. It gets `name` only once it is complete and on disk, and
// never in place of an existing file. Whatever is not published is
// removed, so a failed or interrupted write leaves no partial file.
class NewFile {
 public:
  explicit NewFile(const std::string& name);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // The stream to write the file's bytes to; null when no file could be
  // made.
  std::FILE* stream() const;

  // Flushes the file to disk and gives it its name: kExists when the name
  // was taken meanwhile (the other file is left as it is), kFailed on any
  // other failure. Either way the temporary file is gone.
  Published publish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tenapi

#endif  // TENAPI_CONSOLE_PLATFORM_H_
