// Everything the user sees, and the waits for the Enter key.
#ifndef TENAPI_APP_SCREENS_H_
#define TENAPI_APP_SCREENS_H_

#include <string>

// The number of the screen about to be shown; stored before show_screen.
extern int screen_code;

// The bytes (code page 932) that screen `number` prints; empty for others.
std::string screen_text(int number);
// Clears the console and prints screen `number`; number 0 ends the process.
void show_screen(int number);
// Discards one character, then characters up to a line feed or end of input.
void wait_for_enter();

#endif  // TENAPI_APP_SCREENS_H_
