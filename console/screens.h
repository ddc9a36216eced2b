// Everything the user sees: the screens and their texts.
#ifndef TENAPI_CONSOLE_SCREENS_H_
#define TENAPI_CONSOLE_SCREENS_H_

#include <string>

namespace tenapi {

// The screens, numbered as the dialogue has always numbered them.
enum class Screen {
  kMenu = 1,
  kFilePrompt = 2,
  kNotOpened = 3,
  kNotWritten = 4,
  kWritten = 5,
  kInvalidChoice = 999,
};

// The bytes (code page 932) that a screen prints; empty for other numbers.
std::string screen_text(Screen screen);

}  // namespace tenapi

#endif  // TENAPI_CONSOLE_SCREENS_H_
