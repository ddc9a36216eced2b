#include "console/screens.h"

#include <initializer_list>

namespace tenapi {

namespace {

// Screen texts as code page 932 bytes, whatever this file's encoding.
// ***てなぴ解析システム***
const char kTitle[] =
    "***\x82\xc4\x82\xc8\x82\xd2\x89\xf0\x90\xcd\x83V\x83X\x83"
    "e\x83\x80***";
//    1:てなぴの解析
const char kMenuAnalyse[] = "   1:\x82\xc4\x82\xc8\x82\xd2\x82\xcc\x89\xf0\x90\xcd";
//    0:終了
const char kMenuQuit[] = "   0:\x8fI\x97\xb9";
//    数値を入力してください
const char kMenuAsk[] =
    "   \x90\x94\x92l\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";
//    ⇒
const char kMenuPrompt[] = "   \x81\xcb";
// ファイルをドラッグしてください
const char kFileDrag[] =
    "\x83t\x83@\x83"
    "C\x83\x8b\x82\xf0\x83h\x83\x89\x83"
    "b\x83O\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2";
// 「back」と入力した場合戻る
const char kFileBack[] =
    "\x81uback\x81v\x82\xc6\x93\xfc\x97\xcd\x82\xb5\x82\xbd\x8f\xea\x8d\x87\x96\xdf\x82\xe9";
// ⇒
const char kFilePrompt[] = "\x81\xcb";
// ファイルが開けませんでした。
const char kNotOpened[] =
    "\x83t\x83@\x83"
    "C\x83\x8b\x82\xaa\x8aJ\x82\xaf\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81"
    "B";
// Enterを入力して戻る
const char kEnterBack[] = "Enter\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x96\xdf\x82\xe9";
// そのファイルはすでに存在しています。
const char kNotWritten[] =
    "\x82\xbb\x82\xcc\x83t\x83@\x83"
    "C\x83\x8b\x82\xcd\x82\xb7\x82\xc5\x82\xc9\x91\xb6\x8d\xdd\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82"
    "\xb7\x81"
    "B";
// ファイルの作成が完了しました。
const char kWritten[] =
    "\x83t\x83@\x83"
    "C\x83\x8b\x82\xcc\x8d\xec\x90\xac\x82\xaa\x8a\xae\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
    "B";
// Enterを入力して終了
const char kEnterEnd[] = "Enter\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x8fI\x97\xb9";
// 有効な数値を入力してください
const char kInvalid[] =
    "\x97L\x8c\xf8\x82\xc8\x90\x94\x92l\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82"
    "\xb3\x82\xa2";

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
      return lines({kTitle, kNotWritten, kEnterBack});
    case Screen::kWritten:
      return lines({kTitle, kWritten, kEnterEnd});
    case Screen::kInvalidChoice:
      return lines({kTitle, kInvalid, "", kEnterBack});
  }
  return "";
}

}  // namespace tenapi
