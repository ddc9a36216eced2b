// The few operations that differ between Windows and other systems.
#ifndef TENAPI_APP_PLATFORM_H_
#define TENAPI_APP_PLATFORM_H_

#include <cstdio>
#include <string>

// Wipes the console window and puts the cursor at its top left corner.
void clear_console();
// Opens a file for reading in binary mode; null for a folder or a failure.
std::FILE* open_input(const std::string& path);
// Creates a new file for binary writing; null when it exists or fails.
std::FILE* create_new_file(const std::string& path);

#endif  // TENAPI_APP_PLATFORM_H_
