#include "console/console.h"

#include <cstdio>
#include <new>
#include <utility>

namespace tenapi {

namespace {

// The white space that ends a word, as in formatted extraction under the
// "C" locale; no locale is consulted.
bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void Console::show(Screen screen) {
  terminal_.clear();
  // Flushed inside, so that the prompts of the menu and the file prompt show.
  terminal_.write(screen_text(screen));
}

void Console::show_and_wait(Screen screen) {
  show(screen);
  wait_for_enter();
}

// The word reads and the waits take their bytes from one sequence, so that
// a byte that a word read leaves unread is the next one that a wait sees.

int Console::get() {
  if (back_pos_ < back_.size()) return static_cast<unsigned char>(back_[back_pos_++]);
  return terminal_.read_byte();
}

int Console::get_nonblank() {
  int c;
  do {
    c = get();
  } while (c != EOF && is_space(c));
  return c;
}

void Console::put_back(const std::string& bytes) {
  back_ = bytes + back_.substr(back_pos_);
  back_pos_ = 0;
}

void Console::wait_for_enter() {
  // The first character is normally the line end after the word just read.
  if (get() == EOF) return;
  int c;
  do {
    c = get();
  } while (c != '\n' && c != EOF);
}

bool Console::read_word(std::string& word) {
  word.clear();
  int c = get_nonblank();
  if (c == EOF) return false;
  try {
    for (; c != EOF && !is_space(c); c = get()) word += static_cast<char>(c);
  } catch (const std::bad_alloc&) {
    // A word larger than memory (standard input from /dev/zero) can never
    // be answered: treat it like the end of input.
    return false;
  }
  if (c != EOF) put_back(std::string(1, static_cast<char>(c)));
  return true;
}

bool Console::read_path(Typed& path) {
  path.quoted = false;
  int c = get_nonblank();
  if (c == EOF) return false;
  if (c == '"') {
    // A dragged path that holds a blank arrives in double quotes.
    std::string seen;
    try {
      for (int d = get(); d != EOF; d = get()) {
        if (d == '"') {
          path.text = terminal_.file_name(seen);
          path.quoted = true;
          return true;
        }
        seen += static_cast<char>(d);
        if (d == '\n') break;
      }
    } catch (const std::bad_alloc&) {
      return false;
    }
    // Not closed on its line: read again as a plain word.
    put_back(seen);
  }
  put_back(std::string(1, static_cast<char>(c)));
  if (!read_word(path.text)) return false;
  path.text = terminal_.file_name(path.text);
  return true;
}

}  // namespace tenapi
