// Everything the user sees, the waits for the Enter key, and the word
// reads of the dialogue.
#ifndef TENAPI_CONSOLE_SCREENS_H_
#define TENAPI_CONSOLE_SCREENS_H_

#include <string>

// The number of the screen about to be shown; stored before show_screen.
extern int screen_code;

// The bytes (code page 932) that screen `number` prints; empty for others.
std::string screen_text(int number);

// Clears the console and prints screen `number`; number 0 ends the process.
void show_screen(int number);

// Discards one character, then characters up to a line feed or end of input.
void wait_for_enter();

// Stores `number` in screen_code, shows that screen and waits for Enter.
void show_and_wait(int number);

// Reads one word: skips blanks and line ends, then takes bytes up to the
// next one, which stays unread. False at end of input.
bool read_word(std::string& word);

#endif  // TENAPI_CONSOLE_SCREENS_H_
