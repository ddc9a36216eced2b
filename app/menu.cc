#include "app/menu.h"

#include <string>

#include "app/analyse_file.h"

namespace tenapi {

namespace {

// The screen that says what became of an analysis.
Screen screen_for(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kWritten:
      return Screen::kWritten;
    case FileOutcome::kNotWritten:
      return Screen::kNotWritten;
    case FileOutcome::kNotRead:
      break;
  }
  return Screen::kNotOpened;
}

// What the file prompt ended with.
enum class Prompt { kBack, kWritten, kInputEnded };

// Asks for input files until one is analysed or the user types "back".
Prompt run_file_prompts(Console& console, Disk& disk) {
  for (;;) {
    console.show(Screen::kFilePrompt);
    Typed typed;
    if (!console.read_path(typed)) return Prompt::kInputEnded;
    if (!typed.quoted && typed.text == "back") return Prompt::kBack;
    Screen done = screen_for(analyse_file(disk, typed.text));
    console.show_and_wait(done);
    if (done == Screen::kWritten) return Prompt::kWritten;
  }
}

}  // namespace

int run_menu(Console& console, Disk& disk) {
  for (;;) {
    console.show(Screen::kMenu);
    std::string choice;
    // Input has ended: no answer can ever come, so the program ends quietly.
    if (!console.read_word(choice)) return 0;
    if (choice.find('1') != std::string::npos) {
      if (run_file_prompts(console, disk) != Prompt::kBack) return 0;
    } else if (choice.find('0') != std::string::npos) {
      console.clear();
      return 0;
    } else {
      console.show_and_wait(Screen::kInvalidChoice);
    }
  }
}

}  // namespace tenapi
