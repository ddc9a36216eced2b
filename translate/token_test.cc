#include "translate/token.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_state.h"
#include "translate/pipeline.h"

namespace {

// One token line, and what the read loop makes of it.
struct Step {
  const char* token;
  const char* returned;
  const char* stored;  // null when nothing is stored
  int depth;
  int mode;
  const char* carried;
};

// Runs one token line as the read loop does; returns the stored line or "".
std::string run(const std::string& token, std::string* returned) {
  *returned = translate_token(token);
  if (*returned == "***") return "";
  std::string stored = indent_line(*returned);
  carried_line.clear();
  return stored;
}

TEST(TranslateToken, WorkedExample) {
  reset_pipeline();
  const Step steps[] = {
      {"***", "***", nullptr, 0, 0, ""},
      {"block main", "int main() {", "int main() {", 0, 0, ""},
      {"statement DO", "***", nullptr, 1, 0, ""},
      {"block change", "***", nullptr, 1, 0, "a = n"},
      {"field x", "***", nullptr, 1, 0, "x = n"},
      {"value A", "***", nullptr, 1, 0, "x = n"},
      {"shadow number", "***", nullptr, 1, 0, "x = n"},
      {"field 5", "x = 5", "  x = 5", 1, 0, ""},
      {"block forward", "***", nullptr, 1, 2, "forward = n"},
      {"value A", "***", nullptr, 1, 2, "forward = n"},
      {"shadow distance", "***", nullptr, 1, 2, "forward = n"},
      {"field 10", "forward = 10", "  forward = 10", 1, 0, ""},
      {"block while", "while() {", "  while() {", 1, 0, ""},
      {"statement DO", "***", nullptr, 2, 0, ""},
      {"block leftturn", "***", nullptr, 2, 2, "leftturn = n"},
      {"field 90", "leftturn = 90", "    leftturn = 90", 2, 0, ""},
      {"/statement", "} else {", "  } else {", 1, 0, ""},
      {"block if_else", "***", nullptr, 1, 0, "if(a = n) {"},
      {"value A", "***", nullptr, 1, 0, "if(a = n) {"},
      {"block equal", "***", nullptr, 1, 0, "if(a = n) {"},
      {"value A", "***", nullptr, 1, 0, "if(a = n) {"},
      {"shadow number", "***", nullptr, 1, 0, "if(a = n) {"},
      {"field 0", "***", nullptr, 1, 0, "if(0 = n) {"},
      {"block variable", "***", nullptr, 1, 1, "if(0 = n) {"},
      {"field x", "***", nullptr, 1, 0, "if(x = n) {"},
      {"value B", "***", nullptr, 1, 0, "if(x = n) {"},
      {"shadow number", "***", nullptr, 1, 0, "if(x = n) {"},
      {"field 3", "if(x = 3) {", "  if(x = 3) {", 1, 0, ""},
      {"statement DO", "***", nullptr, 2, 0, ""},
      {"block rightturn", "***", nullptr, 2, 2, "rightturn = n"},
      {"field 45", "rightturn = 45", "    rightturn = 45", 2, 0, ""},
      {"/statement", "} else {", "  } else {", 1, 0, ""},
      {"statement ELSE", "***", nullptr, 2, 0, ""},
      {"block sum", "action = action + 1", "    action = action + 1", 2, 3, ""},
      {"field 1", "***", nullptr, 2, 3, ""},
      {"/statement", "} else {", "  } else {", 1, 3, ""},
      {"/statement", "} else {", "} else {", 0, 3, ""},
  };
  int line = 0;
  for (const Step& step : steps) {
    ++line;
    // The classifier records the first field text before its token arrives.
    if (line == 5) first_field_text = "x";
    std::string returned;
    std::string stored = run(step.token, &returned);
    EXPECT_EQ(returned, step.returned) << "line " << line;
    EXPECT_EQ(stored, step.stored ? step.stored : "") << "line " << line;
    EXPECT_EQ(indent_depth, step.depth) << "line " << line;
    EXPECT_EQ(field_mode, step.mode) << "line " << line;
    EXPECT_EQ(carried_line, step.carried) << "line " << line;
  }
}

TEST(TranslateToken, FieldModes) {
  std::string returned;
  // A sum block's fields change nothing until a move block sets mode 2.
  reset_pipeline();
  carried_line = "keep";
  EXPECT_EQ(translate_token("block sum"), "action = action + 1");
  EXPECT_EQ(translate_token("field 7"), "***");
  EXPECT_EQ(field_mode, 3);
  EXPECT_EQ(carried_line, "keep");
  // Variable lines walk the sum modes: 3 -> 4, a field 4 -> 5 -> 6 -> 6.
  EXPECT_EQ(translate_token("block variable"), "***");
  EXPECT_EQ(field_mode, 4);
  translate_token("field q");
  EXPECT_EQ(field_mode, 5);
  translate_token("field q");
  EXPECT_EQ(field_mode, 6);
  translate_token("field q");
  EXPECT_EQ(field_mode, 6);
  EXPECT_EQ(carried_line, "keep");
  // Above 6 the mode acts as 0: the name rule with F "x" fills the "a".
  translate_token("block variable");
  EXPECT_EQ(field_mode, 7);
  first_field_text = "x";
  carried_line = "a = n";
  EXPECT_EQ(translate_token("field x"), "***");
  EXPECT_EQ(carried_line, "x = n");
  EXPECT_EQ(field_mode, 7);
  EXPECT_EQ(translate_token("field 7"), "x = 7");

  // Two variable lines in a row raise the mode from 0 to 2.
  reset_pipeline();
  translate_token("block variable");
  translate_token("block variable");
  EXPECT_EQ(field_mode, 2);

  // In mode 2 a text holding "0" completes the move, not the zero rule;
  // the argument is all that follows the first blank, blanks included.
  reset_pipeline();
  first_field_text = "x";
  translate_token("block forward");
  EXPECT_EQ(translate_token("field 100"), "forward = 100");
  translate_token("block leftturn");
  EXPECT_EQ(translate_token("field 9 0"), "leftturn = 9 0");
  // Mode 1 puts the first text in place of the last "0", not the first.
  carried_line = "if(100 = n) {";
  translate_token("block variable");
  translate_token("field x");
  EXPECT_EQ(carried_line, "if(10x = n) {");
}

TEST(TranslateToken, NameZeroAndCompletionRules) {
  // Zero rule on an if template: the left operand becomes the text.
  reset_pipeline();
  first_field_text = "x";
  carried_line = "if(a = n) {";
  EXPECT_EQ(translate_token("field 20"), "***");
  EXPECT_EQ(carried_line, "if(20 = n) {");
  // Zero rule on an assignment template replaces its first "a".
  carried_line = "a = n";
  EXPECT_EQ(translate_token("field 0"), "***");
  EXPECT_EQ(carried_line, "0 = n");

  // A single "e" as the first text occurs in the word "field" itself, so
  // every field line follows the name rule and returns "***".
  reset_pipeline();
  first_field_text = "e";
  carried_line = "a = n";
  EXPECT_EQ(translate_token("field 5"), "***");
  EXPECT_EQ(carried_line, "5 = n");
  EXPECT_EQ(translate_token("field 6"), "***");
  EXPECT_EQ(carried_line, "5 = n");
  carried_line = "e = n";
  EXPECT_EQ(translate_token("field 5"), "***");
  EXPECT_EQ(translate_token("field 6"), "***");
  EXPECT_EQ(carried_line, "e = 6");

  // An empty first text is contained everywhere: also the name rule.
  reset_pipeline();
  carried_line = "a = n";
  EXPECT_EQ(translate_token("field 9"), "***");
  EXPECT_EQ(carried_line, "a = 9");

  // Completion with a longer text replaces the one byte after " = ".
  reset_pipeline();
  first_field_text = "abc";
  carried_line = "abc = n";
  EXPECT_EQ(translate_token("field 12"), "abc = 12");
  // Completion works after the last occurrence of the first text.
  carried_line = "abc = abc = n";
  EXPECT_EQ(translate_token("field 5"), "abc = abc = 5");
}

TEST(TranslateToken, RulesPastTheEndOfTheCarriedLine) {
  // Every rule on an empty carried line leaves it empty; mode 2 and the
  // completion rule still return it.
  reset_pipeline();
  first_field_text = "x";
  EXPECT_EQ(translate_token("field 5"), "");
  EXPECT_EQ(carried_line, "");
  EXPECT_EQ(translate_token("field 0"), "***");
  EXPECT_EQ(translate_token("field x"), "***");
  EXPECT_EQ(carried_line, "");
  field_mode = 1;
  EXPECT_EQ(translate_token("field 5"), "***");
  EXPECT_EQ(field_mode, 0);
  field_mode = 2;
  EXPECT_EQ(translate_token("field 5"), "");
  EXPECT_EQ(field_mode, 0);

  // "=" as the second-to-last byte: the stretch starts at the end and the
  // text is appended. "=" as the last byte: the position is past the end.
  field_mode = 2;
  carried_line = "a =";
  EXPECT_EQ(translate_token("field 5"), "a =");
  field_mode = 2;
  carried_line = "a = ";
  EXPECT_EQ(translate_token("field 5"), "a = 5");

  // Completion: F followed by fewer than three bytes changes nothing;
  // followed by exactly three, the text is appended.
  carried_line = "x =";
  EXPECT_EQ(translate_token("field 5"), "x =");
  carried_line = "x = ";
  EXPECT_EQ(translate_token("field 5"), "x = 5");
  // An if template that does not hold F.
  carried_line = "if(y = n) {";
  EXPECT_EQ(translate_token("field 5"), "if(y = n) {");

  // Zero rule: no "(", or the first blank before the "(".
  carried_line = "b = n";
  EXPECT_EQ(translate_token("field 10"), "***");
  EXPECT_EQ(carried_line, "b = n");
  carried_line = "b (c";
  translate_token("field 10");
  EXPECT_EQ(carried_line, "b (c");
  carried_line = "(c";
  translate_token("field 10");
  EXPECT_EQ(carried_line, "(c");
  // Name rule without an "a" to replace.
  carried_line = "q";
  translate_token("field x");
  EXPECT_EQ(carried_line, "q");
}

TEST(TranslateToken, KeywordsInsideNamesAndTexts) {
  reset_pipeline();
  first_field_text = "x";
  EXPECT_EQ(translate_token("***"), "***");
  EXPECT_EQ(indent_depth, 0);
  EXPECT_EQ(field_mode, 0);
  EXPECT_EQ(carried_line, "");
  // Later tests win: "while" comes after "field", "main" before it.
  EXPECT_EQ(translate_token("field awhile"), "while() {");
  carried_line = "a = n";
  EXPECT_EQ(translate_token("field domain"), "a = n");
  // A statement name holding "sum" sets mode 3, and raises the depth.
  EXPECT_EQ(translate_token("statement summary"), "***");
  EXPECT_EQ(field_mode, 3);
  EXPECT_EQ(indent_depth, 1);
  // A field text holding "statement" raises the depth too, and so does a
  // statement named "/statement": only the exact line closes one.
  translate_token("field statement");
  EXPECT_EQ(indent_depth, 2);
  EXPECT_EQ(translate_token("statement /statement"), "***");
  EXPECT_EQ(indent_depth, 3);
  translate_token("/statement");
  // A value named after a move word starts a move statement.
  EXPECT_EQ(translate_token("value forward"), "***");
  EXPECT_EQ(carried_line, "forward = n");
  EXPECT_EQ(field_mode, 2);
  // Unknown token lines come back unchanged.
  EXPECT_EQ(translate_token("something else"), "something else");
  EXPECT_EQ(translate_token(""), "");
  // A move word without a blank: the whole token line is the word.
  EXPECT_EQ(translate_token("leftturn"), "***");
  EXPECT_EQ(carried_line, "leftturn = n");
}

TEST(IndentLine, TwoBlanksPerLevel) {
  reset_pipeline();
  EXPECT_EQ(indent_line("int main() {"), "int main() {");
  indent_depth = 2;
  EXPECT_EQ(indent_line("leftturn = 90"), "    leftturn = 90");
  EXPECT_EQ(indent_line(" x"), "     x");
  indent_depth = -3;
  EXPECT_EQ(indent_line("} else {"), "} else {");
  // Closing more statements than were opened drives the depth negative.
  reset_pipeline();
  translate_token("/statement");
  translate_token("/statement");
  EXPECT_EQ(indent_depth, -2);
  translate_token("statement DO");
  EXPECT_EQ(indent_line("a"), "a");
}

}  // namespace
