#include "console/screens.h"

#include <cstdio>
#include <initializer_list>
#include <new>

namespace tenapi {

namespace {

// Screen texts as code page 932 bytes, whatever this file's encoding.
// ***てなぴ解析システム***
const char kTitle[] =
    "***"
    "\x82\xc4\x82\xc8\x82\xd2\x89\xf0\x90\xcd\x83"
    "V"
    "\x83"
    "X"
    "\x83"
    "e"
    "\x83\x80"
    "***";
//    1:てなぴの解析
const char kMenuAnalyse[] =
    "   1:"
    "\x82\xc4\x82\xc8\x82\xd2\x82\xcc\x89\xf0\x90\xcd";
//    0:終了
const char kMenuQuit[] =
    "   0:"
    "\x8f"
    "I"
    "\x97\xb9";
//    数値を入力してください
const char kMenuAsk[] =
    "   "
    "\x90\x94\x92"
    "l"
    "\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";
//    ⇒
const char kMenuPrompt[] =
    "   "
    "\x81\xcb";
// ファイルをドラッグしてください
const char kFileDrag[] =
    "\x83"
    "t"
    "\x83"
    "@"
    "\x83"
    "C"
    "\x83\x8b\x82\xf0\x83"
    "h"
    "\x83\x89\x83"
    "b"
    "\x83"
    "O"
    "\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";
// 「back」と入力した場合戻る
const char kFileBack[] =
    "\x81"
    "uback"
    "\x81"
    "v"
    "\x82\xc6\x93\xfc\x97\xcd\x82\xb5\x82\xbd\x8f\xea\x8d\x87\x96\xdf\x82\xe9";
// ⇒
const char kFilePrompt[] = "\x81\xcb";
// ファイルが開けませんでした。
const char kNotOpened[] =
    "\x83"
    "t"
    "\x83"
    "@"
    "\x83"
    "C"
    "\x83\x8b\x82\xaa\x8a"
    "J"
    "\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81"
    "B";
// Enterを入力して戻る
const char kEnterBack[] =
    "Enter"
    "\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x96\xdf\x82\xe9";
// そのファイルはすでに存在しています。
const char kExists[] =
    "\x82\xbb\x82\xcc\x83"
    "t"
    "\x83"
    "@"
    "\x83"
    "C"
    "\x83\x8b\x82\xcd\x82\xb7\x82\xc5\x82\xc9\x91\xb6\x8d\xdd\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82"
    "\xb7\x81"
    "B";
// ファイルの作成が完了しました。
const char kWritten[] =
    "\x83"
    "t"
    "\x83"
    "@"
    "\x83"
    "C"
    "\x83\x8b\x82\xcc\x8d\xec\x90\xac\x82\xaa\x8a\xae\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
    "B";
// Enterを入力して終了
const char kEnterEnd[] =
    "Enter"
    "\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x8f"
    "I"
    "\x97\xb9";
// 有効な数値を入力してください
const char kInvalid[] =
    "\x97"
    "L"
    "\x8c\xf8\x82\xc8\x90\x94\x92"
    "l"
    "\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";

// The white space that ends a word, as in formatted extraction under the
// "C" locale; no locale is consulted.
bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The texts joined, each followed by a line feed.
std::string lines(std::initializer_list<const char*> texts) {
  std::string out;
  for (const char* text : texts) {
    out += text;
    out += '\n';
  }
  return out;
}

}  // namespace

std::string screen_text(Screen screen) {
  switch (screen) {
    case Screen::kMenu:
      return lines({kTitle, kMenuAnalyse, kMenuQuit, kMenuAsk}) + kMenuPrompt;
    case Screen::kFilePrompt:
      return lines({kTitle, kFileDrag, kFileBack}) + kFilePrompt;
    case Screen::kNotOpened:
      return lines({kTitle, kNotOpened, kEnterBack});
    case Screen::kNotWritten:
      return lines({kTitle, kExists, kEnterBack});
    case Screen::kWritten:
      return lines({kTitle, kWritten, kEnterEnd});
    case Screen::kInvalidChoice:
      return lines({kTitle, kInvalid, "", kEnterBack});
  }
  return "";
}

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
          path.text = std::move(seen);
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
  return read_word(path.text);
}

}  // namespace tenapi
