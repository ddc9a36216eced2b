#include "translate/translator.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tokens.h"
#include "translate/classify.h"

namespace tenapi {
namespace {

// A translator, and its token lines given as text.
class TranslateToken : public testing::Test {
 protected:
  // The line that the token line `token` returns.
  std::string tr(const std::string& token) { return std::string(t.translate(token_of(token))); }

  Translator t;
};

// One input line, its token line, and what the read loop makes of it.
struct Step {
  const char* line;
  const char* token;
  const char* returned;
  const char* stored;  // null when nothing is stored
  int depth;
  int mode;
  const char* carried;
};

TEST(Translator, WorkedExample) {
  const Step steps[] = {
      {"<xml xmlns=\"ns\">", "***", "***", nullptr, 0, 0, ""},
      {"<block type=\"mevok_main\" id=\"m\">", "block main", "int main() {", "int main() {", 0, 0,
       ""},
      {"<statement name=\"DO\">", "statement DO", "***", nullptr, 1, 0, ""},
      {"<block type=\"mevok_variable_change\" id=\"c\">", "block change", "***", nullptr, 1, 0,
       "a = n"},
      {"<field name=\"VAR\">x</field>", "field x", "***", nullptr, 1, 0, "x = n"},
      {"<value name=\"A\">", "value A", "***", nullptr, 1, 0, "x = n"},
      {"<shadow type=\"mevok_number\" id=\"s\">", "shadow number", "***", nullptr, 1, 0, "x = n"},
      {"<field name=\"NUM\">5</field>", "field 5", "x = 5", "  x = 5", 1, 0, ""},
      {"<block type=\"mevok_forward\" id=\"f\">", "block forward", "***", nullptr, 1, 2,
       "forward = n"},
      {"<value name=\"A\">", "value A", "***", nullptr, 1, 2, "forward = n"},
      {"<shadow type=\"mevok_distance_number\" id=\"d\">", "shadow distance", "***", nullptr, 1, 2,
       "forward = n"},
      {"<field name=\"NUM\">10</field>", "field 10", "forward = 10", "  forward = 10", 1, 0, ""},
      {"<block type=\"mevok_while_infinity\" id=\"w\">", "block while", "while() {", "  while() {",
       1, 0, ""},
      {"<statement name=\"DO\">", "statement DO", "***", nullptr, 2, 0, ""},
      {"<block type=\"mevok_leftturn\" id=\"l\">", "block leftturn", "***", nullptr, 2, 2,
       "leftturn = n"},
      {"<field name=\"NUM\">90</field>", "field 90", "leftturn = 90", "    leftturn = 90", 2, 0,
       ""},
      {"</statement>", "/statement", "} else {", "  } else {", 1, 0, ""},
      {"<block type=\"mevok_if_else\" id=\"i\">", "block if_else", "***", nullptr, 1, 0,
       "if(a = n) {"},
      {"<value name=\"A\">", "value A", "***", nullptr, 1, 0, "if(a = n) {"},
      {"<block type=\"mevok_equal\" id=\"e\">", "block equal", "***", nullptr, 1, 0, "if(a = n) {"},
      {"<value name=\"A\">", "value A", "***", nullptr, 1, 0, "if(a = n) {"},
      {"<shadow type=\"mevok_number\" id=\"s\">", "shadow number", "***", nullptr, 1, 0,
       "if(a = n) {"},
      {"<field name=\"NUM\">0</field>", "field 0", "***", nullptr, 1, 0, "if(0 = n) {"},
      {"<block type=\"mevok_variable\" id=\"v\">", "block variable", "***", nullptr, 1, 1,
       "if(0 = n) {"},
      {"<field name=\"VAR\">x</field>", "field x", "***", nullptr, 1, 0, "if(x = n) {"},
      {"<value name=\"B\">", "value B", "***", nullptr, 1, 0, "if(x = n) {"},
      {"<shadow type=\"mevok_number\" id=\"s\">", "shadow number", "***", nullptr, 1, 0,
       "if(x = n) {"},
      {"<field name=\"NUM\">3</field>", "field 3", "if(x = 3) {", "  if(x = 3) {", 1, 0, ""},
      {"<statement name=\"DO\">", "statement DO", "***", nullptr, 2, 0, ""},
      {"<block type=\"mevok_rightturn\" id=\"r\">", "block rightturn", "***", nullptr, 2, 2,
       "rightturn = n"},
      {"<field name=\"NUM\">45</field>", "field 45", "rightturn = 45", "    rightturn = 45", 2, 0,
       ""},
      {"</statement>", "/statement", "} else {", "  } else {", 1, 0, ""},
      {"<statement name=\"ELSE\">", "statement ELSE", "***", nullptr, 2, 0, ""},
      {"<block type=\"mevok_sum\" id=\"u\">", "block sum", "action = action + 1",
       "    action = action + 1", 2, 3, ""},
      {"<field name=\"NUM\">1</field>", "field 1", "***", nullptr, 2, 3, ""},
      {"</statement>", "/statement", "} else {", "  } else {", 1, 3, ""},
      {"</statement>", "/statement", "} else {", "} else {", 0, 3, ""},
  };
  Translator t;
  int line = 0;
  for (const Step& step : steps) {
    ++line;
    EXPECT_EQ(token_string(classify(step.line)), step.token) << "line " << line;
    std::string text = "left over";
    int depth = 99;
    bool stored = t.step(step.line, text, depth);
    EXPECT_EQ(stored, step.stored != nullptr) << "line " << line;
    if (stored) {
      EXPECT_EQ(text, step.returned) << "line " << line;
      // Indented as the writer indents it: two blanks a level.
      EXPECT_EQ(std::string(2 * depth, ' ') + text, step.stored) << "line " << line;
    } else {
      EXPECT_EQ(text, "left over") << "line " << line;
    }
    EXPECT_EQ(t.indent_depth, step.depth) << "line " << line;
    EXPECT_EQ(static_cast<int>(t.field_mode), step.mode) << "line " << line;
    EXPECT_EQ(t.carried_line, step.carried) << "line " << line;
  }
  EXPECT_EQ(t.first_field_text, "x");
}

TEST_F(TranslateToken, FieldModes) {
  std::string returned;
  // A sum block's fields change nothing until a move block sets mode 2.
  t = Translator();
  t.carried_line = "keep";
  EXPECT_EQ(tr("block sum"), "action = action + 1");
  EXPECT_EQ(tr("field 7"), "***");
  EXPECT_EQ(t.field_mode, FieldMode::kSum);
  EXPECT_EQ(t.carried_line, "keep");
  // Variable lines walk the sum modes: 3 -> 4, a field 4 -> 5 -> 6 -> 6.
  EXPECT_EQ(tr("block variable"), "***");
  EXPECT_EQ(t.field_mode, FieldMode::kSumVariable);
  tr("field q");
  EXPECT_EQ(t.field_mode, FieldMode::kSumVariableField);
  tr("field q");
  EXPECT_EQ(t.field_mode, FieldMode::kSumDone);
  tr("field q");
  EXPECT_EQ(t.field_mode, FieldMode::kSumDone);
  EXPECT_EQ(t.carried_line, "keep");
  // Above 6 the mode acts as 0: the name rule with F "x" fills the "a".
  tr("block variable");
  EXPECT_EQ(t.field_mode, FieldMode::kPastSum);
  t.first_field_text = "x";
  t.carried_line = "a = n";
  EXPECT_EQ(tr("field x"), "***");
  EXPECT_EQ(t.carried_line, "x = n");
  EXPECT_EQ(t.field_mode, FieldMode::kPastSum);
  EXPECT_EQ(tr("field 7"), "x = 7");

  // Two variable lines in a row raise the mode from 0 to 2.
  t = Translator();
  tr("block variable");
  tr("block variable");
  EXPECT_EQ(t.field_mode, FieldMode::kMove);

  // In mode 2 a text holding "0" completes the move, not the zero rule;
  // the argument is all that follows the first blank, blanks included.
  t = Translator();
  t.first_field_text = "x";
  tr("block forward");
  EXPECT_EQ(tr("field 100"), "forward = 100");
  tr("block leftturn");
  EXPECT_EQ(tr("field 9 0"), "leftturn = 9 0");
  // Mode 1 puts the first text in place of the last "0", not the first.
  t.carried_line = "if(100 = n) {";
  tr("block variable");
  tr("field x");
  EXPECT_EQ(t.carried_line, "if(10x = n) {");
}

TEST_F(TranslateToken, NameZeroAndCompletionRules) {
  // Zero rule on an if template: the left operand becomes the text.
  t = Translator();
  t.first_field_text = "x";
  t.carried_line = "if(a = n) {";
  EXPECT_EQ(tr("field 20"), "***");
  EXPECT_EQ(t.carried_line, "if(20 = n) {");
  // Zero rule on an assignment template replaces its first "a".
  t.carried_line = "a = n";
  EXPECT_EQ(tr("field 0"), "***");
  EXPECT_EQ(t.carried_line, "0 = n");

  // A single "e" as the first text occurs in the word "field" itself, so
  // every field line follows the name rule and returns "***".
  t = Translator();
  t.first_field_text = "e";
  t.carried_line = "a = n";
  EXPECT_EQ(tr("field 5"), "***");
  EXPECT_EQ(t.carried_line, "5 = n");
  EXPECT_EQ(tr("field 6"), "***");
  EXPECT_EQ(t.carried_line, "5 = n");
  t.carried_line = "e = n";
  EXPECT_EQ(tr("field 5"), "***");
  EXPECT_EQ(tr("field 6"), "***");
  EXPECT_EQ(t.carried_line, "e = 6");

  // An empty first text is contained everywhere: also the name rule.
  t = Translator();
  t.carried_line = "a = n";
  EXPECT_EQ(tr("field 9"), "***");
  EXPECT_EQ(t.carried_line, "a = 9");

  // Completion with a longer text replaces the one byte after " = ".
  t = Translator();
  t.first_field_text = "abc";
  t.carried_line = "abc = n";
  EXPECT_EQ(tr("field 12"), "abc = 12");
  // Completion works after the last occurrence of the first text.
  t.carried_line = "abc = abc = n";
  EXPECT_EQ(tr("field 5"), "abc = abc = 5");
}

TEST_F(TranslateToken, RulesPastTheEndOfTheCarriedLine) {
  // Every rule on an empty carried line leaves it empty; mode 2 and the
  // completion rule still return it.
  t = Translator();
  t.first_field_text = "x";
  EXPECT_EQ(tr("field 5"), "");
  EXPECT_EQ(t.carried_line, "");
  EXPECT_EQ(tr("field 0"), "***");
  EXPECT_EQ(tr("field x"), "***");
  EXPECT_EQ(t.carried_line, "");
  t.field_mode = FieldMode::kVariable;
  EXPECT_EQ(tr("field 5"), "***");
  EXPECT_EQ(t.field_mode, FieldMode::kByText);
  t.field_mode = FieldMode::kMove;
  EXPECT_EQ(tr("field 5"), "");
  EXPECT_EQ(t.field_mode, FieldMode::kByText);

  // "=" as the second-to-last byte: the stretch starts at the end and the
  // text is appended. "=" as the last byte: the position is past the end.
  t.field_mode = FieldMode::kMove;
  t.carried_line = "a =";
  EXPECT_EQ(tr("field 5"), "a =");
  t.field_mode = FieldMode::kMove;
  t.carried_line = "a = ";
  EXPECT_EQ(tr("field 5"), "a = 5");

  // Completion: F followed by fewer than three bytes changes nothing;
  // followed by exactly three, the text is appended.
  t.carried_line = "x =";
  EXPECT_EQ(tr("field 5"), "x =");
  t.carried_line = "x = ";
  EXPECT_EQ(tr("field 5"), "x = 5");
  // An if template that does not hold F.
  t.carried_line = "if(y = n) {";
  EXPECT_EQ(tr("field 5"), "if(y = n) {");

  // Zero rule: no "(", or the first blank before the "(".
  t.carried_line = "b = n";
  EXPECT_EQ(tr("field 10"), "***");
  EXPECT_EQ(t.carried_line, "b = n");
  t.carried_line = "b (c";
  tr("field 10");
  EXPECT_EQ(t.carried_line, "b (c");
  t.carried_line = "(c";
  tr("field 10");
  EXPECT_EQ(t.carried_line, "(c");
  // Name rule without an "a" to replace.
  t.carried_line = "q";
  tr("field x");
  EXPECT_EQ(t.carried_line, "q");
}

TEST_F(TranslateToken, KeywordsInsideNamesAndTexts) {
  t = Translator();
  t.first_field_text = "x";
  EXPECT_EQ(tr("***"), "***");
  EXPECT_EQ(t.indent_depth, 0);
  EXPECT_EQ(t.field_mode, FieldMode::kByText);
  EXPECT_EQ(t.carried_line, "");
  // Later tests win: "while" comes after "field", "main" before it.
  EXPECT_EQ(tr("field awhile"), "while() {");
  t.carried_line = "a = n";
  EXPECT_EQ(tr("field domain"), "a = n");
  // A statement name holding "sum" sets mode 3, and raises the depth.
  EXPECT_EQ(tr("statement summary"), "***");
  EXPECT_EQ(t.field_mode, FieldMode::kSum);
  EXPECT_EQ(t.indent_depth, 1);
  // A field text holding "statement" raises the depth too, and so does a
  // statement named "/statement": only the exact line closes one.
  tr("field statement");
  EXPECT_EQ(t.indent_depth, 2);
  EXPECT_EQ(tr("statement /statement"), "***");
  EXPECT_EQ(t.indent_depth, 3);
  tr("/statement");
  // A value named after a move word starts a move statement.
  EXPECT_EQ(tr("value forward"), "***");
  EXPECT_EQ(t.carried_line, "forward = n");
  EXPECT_EQ(t.field_mode, FieldMode::kMove);
  // Unknown token lines come back unchanged.
  EXPECT_EQ(tr("something else"), "something else");
  EXPECT_EQ(tr(""), "");
  // A move word without a blank: the whole token line is the word.
  EXPECT_EQ(tr("leftturn"), "***");
  EXPECT_EQ(t.carried_line, "leftturn = n");
}

TEST(Translator, DepthBelowZero) {
  // Closing more statements than were opened drives the depth negative;
  // the lines that follow stand there, and the writer indents them by
  // nothing.
  Translator t;
  std::string text;
  int depth = 0;
  ASSERT_TRUE(t.step("</statement>", text, depth));
  EXPECT_EQ(depth, -1);
  ASSERT_TRUE(t.step("</statement>", text, depth));
  EXPECT_EQ(depth, -2);
  EXPECT_FALSE(t.step("<statement name=\"DO\">", text, depth));
  EXPECT_EQ(t.indent_depth, -1);
  ASSERT_TRUE(t.step("<block type=\"mevok_main\" id=\"m\">", text, depth));
  EXPECT_EQ(text, "int main() {");
  EXPECT_EQ(depth, -1);
}

}  // namespace
}  // namespace tenapi
