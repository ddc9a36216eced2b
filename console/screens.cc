#include "console/screens.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <new>

#include "console/platform.h"

int screen_code = 0;

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

std::string screen_text(int number) {
  switch (number) {
    case 1:
      return lines({kTitle, kMenuAnalyse, kMenuQuit, kMenuAsk}) + kMenuPrompt;
    case 2:
      return lines({kTitle, kFileDrag, kFileBack}) + kFilePrompt;
    case 3:
      return lines({kTitle, kNotOpened, kEnterBack});
    case 4:
      return lines({kTitle, kExists, kEnterBack});
    case 5:
      return lines({kTitle, kWritten, kEnterEnd});
    case 999:
      return lines({kTitle, kInvalid, "", kEnterBack});
    default:
      return "";
  }
}

void show_screen(int number) {
  clear_console();
  if (number == 0) std::exit(0);
  // Flushed inside, so that the prompts of screens 1 and 2 show.
  write_text(screen_text(number));
}

// The word reads and the waits both read standard input through C stdio,
// one character at a time, so that a character that a word read leaves
// unread is the next one that a wait sees. Nothing here relies on the C++
// streams staying in step with stdio.

void wait_for_enter() {
  // The first character is normally the line end after the word just read.
  if (std::getchar() == EOF) return;
  int c;
  do {
    c = std::getchar();
  } while (c != '\n' && c != EOF);
}

void show_and_wait(int number) {
  screen_code = number;
  show_screen(screen_code);
  wait_for_enter();
}

bool read_word(std::string& word) {
  word.clear();
  int c;
  do {
    c = std::getchar();
  } while (c != EOF && is_space(c));
  if (c == EOF) return false;
  try {
    for (; c != EOF && !is_space(c); c = std::getchar()) word += static_cast<char>(c);
  } catch (const std::bad_alloc&) {
    // A word larger than memory (standard input from /dev/zero) can never
    // be answered: treat it like the end of input.
    return false;
  }
  if (c != EOF) std::ungetc(c, stdin);
  return true;
}
