#include "console/screens.h"

#include <gtest/gtest.h>

namespace tenapi {
namespace {

// The code page 932 title line that starts every screen.
const std::string kTitle =
    "***\x82\xc4\x82\xc8\x82\xd2\x89\xf0\x90\xcd\x83V\x83X\x83"
    "e\x83\x80***\n";

TEST(ScreenText, ExactShiftJisBytes) {
  EXPECT_EQ(screen_text(Screen::kMenu),
            kTitle +
                "   1:\x82\xc4\x82\xc8\x82\xd2\x82\xcc\x89\xf0\x90\xcd\n"
                "   0:\x8fI\x97\xb9\n"
                "   \x90\x94\x92l\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4"
                "\x82\xad\x82\xbe\x82\xb3\x82\xa2\n"
                "   \x81\xcb");
  EXPECT_EQ(screen_text(Screen::kFilePrompt),
            kTitle +
                "\x83t\x83@\x83"
                "C\x83\x8b\x82\xf0\x83h\x83\x89\x83"
                "b\x83O"
                "\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\n"
                "\x81uback\x81v\x82\xc6\x93\xfc\x97\xcd\x82\xb5\x82\xbd\x8f\xea"
                "\x8d\x87\x96\xdf\x82\xe9\n"
                "\x81\xcb");
  const std::string enter_back = "Enter\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x96\xdf\x82\xe9\n";
  EXPECT_EQ(screen_text(Screen::kNotOpened), kTitle +
                                                 "\x83t\x83@\x83"
                                                 "C\x83\x8b\x82\xaa\x8aJ\x82\xaf\x82\xdc\x82\xb9"
                                                 "\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81"
                                                 "B\n" +
                                                 enter_back);
  EXPECT_EQ(screen_text(Screen::kNotWritten),
            kTitle +
                "\x82\xbb\x82\xcc\x83t\x83@\x83"
                "C\x83\x8b\x82\xcd\x82\xb7\x82\xc5"
                "\x82\xc9\x91\xb6\x8d\xdd\x82\xb5\x82\xc4\x82\xa2\x82\xdc\x82\xb7"
                "\x81"
                "B\n" +
                enter_back);
  EXPECT_EQ(screen_text(Screen::kWritten),
            kTitle +
                "\x83t\x83@\x83"
                "C\x83\x8b\x82\xcc\x8d\xec\x90\xac\x82\xaa\x8a\xae"
                "\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
                "B\n"
                "Enter\x82\xf0\x93\xfc\x97\xcd\x82\xb5\x82\xc4\x8fI\x97\xb9\n");
  EXPECT_EQ(screen_text(Screen::kInvalidChoice),
            kTitle +
                "\x97L\x8c\xf8\x82\xc8\x90\x94\x92l\x82\xf0\x93\xfc\x97\xcd\x82\xb5"
                "\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\n"
                "\n" +
                enter_back);
  for (int number : {0, -1, 6, 998, 1000})
    EXPECT_EQ(screen_text(static_cast<Screen>(number)), "") << number;
}

}  // namespace
}  // namespace tenapi
