#include "translate/classify.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tokens.h"
#include "translate/keywords.h"
#include "translate/translator.h"

namespace tenapi {
namespace {

// Runs one input line through the translator, whatever it yields.
void step(Translator& t, std::string_view line) {
  std::string text;
  int depth = 0;
  t.step(line, text, depth);
}

struct Case {
  const char* line;
  const char* name;
  const char* token;
};

// The token line of an input line, as one string.
std::string classify_line(std::string_view line) { return token_string(classify(line)); }

// The element name of a line.
std::string tag_name(std::string_view line) { return std::string(element_name(line, 0)); }

// The keywords that the classifier hands on are those of its token line.
void expect_keywords(const char* line) {
  EXPECT_EQ(classify(line).keywords, keywords_in(classify_line(line))) << line;
}

TEST(ClassifyLine, WorkedExample) {
  const Case cases[] = {
      {"<xml xmlns=\"ns\">", "xml", "***"},
      {"<variables>", "***", "***"},
      {"<variable type=\"\" id=\"v1\">a</variable>", "variable", "***"},
      {"</variables>", "***", "***"},
      {"<block type=\"mevok_main\" id=\"b1\" x=\"20\" y=\"20\">", "block", "block main"},
      {"<statement name=\"DO\">", "statement", "statement DO"},
      {"<block type=\"mevok_variable_change\" id=\"b2\">", "block", "block change"},
      {"<field name=\"VAR\" id=\"v1\">a</field>", "field", "field a"},
      {"<value name=\"NUM\">", "value", "value NUM"},
      {"<shadow type=\"mevok_number\" id=\"s1\">", "shadow", "shadow number"},
      {"<field name=\"NUM\">10</field>", "field", "field 10"},
      {"</shadow>", "***", "***"},
      {"<next>", "***", "***"},
      {"<block type=\"mevok_forward\" id=\"b3\">", "block", "block forward"},
      {"</block>", "***", "***"},
      {"</statement>", "/statement", "/statement"},
      {"</xml>", "***", "***"},
      {"", "***", "***"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tag_name(c.line), c.name) << c.line;
    EXPECT_EQ(classify_line(c.line), c.token) << c.line;
    // Indentation before the "<" changes nothing.
    EXPECT_EQ(classify_line(std::string("      ") + c.line), c.token) << c.line;
    expect_keywords(c.line);
  }
}

TEST(ClassifyLine, OddShapes) {
  // No "<": only a "/statement" anywhere counts.
  EXPECT_EQ(classify_line("just text"), "***");
  EXPECT_EQ(classify_line("text /statement more"), "/statement");
  // The name is cut up to the first blank after the "<".
  EXPECT_EQ(tag_name("</statement >"), "/statement");
  EXPECT_EQ(classify_line("</statement >"), "/statement");
  EXPECT_EQ(tag_name("</statement> "), "/statement>");
  EXPECT_EQ(classify_line("</statement> "), "***");
  // A blank before the first "<" is not the name's end; one after it is.
  EXPECT_EQ(tag_name("x y<block"), "***");
  EXPECT_EQ(tag_name("  a b <block type"), "block");
  EXPECT_EQ(tag_name("< x"), "");
  EXPECT_EQ(classify_line("< block type=\"mevok_main\">"), "***");
  EXPECT_EQ(classify_line("<block\ttype=\"mevok_main\">"), "***");
  EXPECT_EQ(classify_line("<Block type=\"mevok_main\">"), "***");
  EXPECT_EQ(classify_line("<block>"), "***");
  EXPECT_EQ(classify_line("<statement>"), "***");
  EXPECT_EQ(classify_line("<next/>"), "***");
  EXPECT_EQ(classify_line("<value name=\"A\"><block type=\"mevok_sum\" id=\"b\">"), "value A");
  EXPECT_EQ(classify_line("<block type=\"mevok_main\" id=\"b1\"/>"), "block main");
  EXPECT_EQ(classify_line("<shadow type=\"mevok_math\" id=\"s\">"), "***");
  // A field tag without attributes is not looked at, nor its text recorded.
  EXPECT_EQ(classify_line("<field>x</field>"), "***");
  Translator t;
  step(t, "<field>x</field>");
  EXPECT_EQ(t.first_field_text, "");
}

TEST(BlockKind, MapsTheTenTypesExactly) {
  const Case cases[] = {
      {"<block type=\"mevok_main\" id=\"q\">", "", "block main"},
      {"<block type=\"mevok_variable_change\" id=\"q\">", "", "block change"},
      {"<block type=\"mevok_while_infinity\" id=\"q\">", "", "block while"},
      {"<block type=\"mevok_if_else\" id=\"q\">", "", "block if_else"},
      {"<block type=\"mevok_equal\" id=\"q\">", "", "block equal"},
      {"<block type=\"mevok_variable\" id=\"q\">", "", "block variable"},
      {"<block type=\"mevok_forward\" id=\"q\">", "", "block forward"},
      {"<block type=\"mevok_leftturn\" id=\"q\">", "", "block leftturn"},
      {"<block type=\"mevok_rightturn\" id=\"q\">", "", "block rightturn"},
      {"<block type=\"mevok_sum\" id=\"q\">", "", "block sum"},
      {"<block type=\"mevok_mainx\" id=\"q\">", "", "***"},
      {"<block type=\"MEVOK_MAIN\" id=\"q\">", "", "***"},
      {"<block type=\" mevok_main\" id=\"q\">", "", "***"},
      {"<block type=\"\" id=\"b6\">", "", "***"},
      {"<block id=\"b7\" type=\"mevok_forward\">", "", "***"},
      {"<block type=\"mevok_number\" id=\"b8\">", "", "***"},
      {"<block x>", "", "***"},
      // Cut short inside the type: the type runs to the end of the line.
      {"<block type=\"mevok_main", "", "block main"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(token_string(block_token(c.line, 0)), c.token) << c.line;
    EXPECT_EQ(classify_line(c.line), c.token) << c.line;
    expect_keywords(c.line);
  }
}

TEST(ClassifyView, KeywordsOfNamesAndTexts) {
  for (const char* line : {"<field name=\"X\">block sum</field>", "<field name=\"X\">sum</field>",
                           "<statement name=\"while_main\">", "<value name=\"shadowfield\">",
                           "<shadow type=\"mevok_distance_number\">", "text /statement"}) {
    expect_keywords(line);
  }
}

}  // namespace
}  // namespace tenapi
