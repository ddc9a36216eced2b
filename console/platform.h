// The few operations that differ between Windows and other systems.
#ifndef TENAPI_CONSOLE_PLATFORM_H_
#define TENAPI_CONSOLE_PLATFORM_H_

#include <cstdio>
#include <string>
#include <string_view>

// Wipes the console window and puts the cursor at its top left corner.
void clear_console();

// Writes code page 932 text to standard output and flushes it: converted
// when standard output is a terminal in another encoding, else as it is.
void write_text(std::string_view text);

// Opens a file or pipe for binary reading; null for a folder, a device or
// a failure.
std::FILE* open_input(const std::string& path);

// Creates a new file for binary writing; null when it exists or fails.
std::FILE* create_new_file(const std::string& path);

#endif  // TENAPI_CONSOLE_PLATFORM_H_
