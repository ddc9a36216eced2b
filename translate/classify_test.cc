#include "translate/classify.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>

#include "tests/tokens.h"
#include "translate/bytes.h"
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

// The keywords in `text`, found by plain substring searches.
unsigned plain_keywords(std::string_view text) {
  unsigned found = 0;
  for (std::size_t k = 0; k < std::size(kKeywords); ++k) {
    if (text.find(kKeywords[k]) != std::string_view::npos) found |= 1u << k;
  }
  return found;
}

TEST(Searches, AgainstThePlainSearches) {
  // The sixteen-byte searches: every length up to 40, every position of
  // the byte sought (or none), every start.
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      std::string text(size, 'a');
      if (at < size) text[at] = 'x';
      for (std::size_t from = 0; from <= size; ++from) {
        EXPECT_EQ(find_byte(text, 'x', from), text.find('x', from)) << size << " " << at;
      }
      std::string blanks(at, ' ');
      blanks.resize(size, 'b');
      EXPECT_EQ(skip_bytes(blanks, ' '), std::min(blanks.find_first_not_of(' '), size));
    }
  }
  // byte_mask over bytes one bit or one step away from the byte sought,
  // where a word-at-a-time compare could carry or borrow into a neighbour.
  std::mt19937 near(3);
  for (int i = 0; i < 100000; ++i) {
    char block[kMaskBytes], sought = static_cast<char>(near());
    unsigned plain = 0;
    for (unsigned k = 0; k < kMaskBytes; ++k) {
      unsigned pick = near() % 11;
      block[k] = static_cast<char>(pick < 8    ? sought ^ (1 << pick)
                                   : pick == 8 ? sought + 1
                                   : pick == 9 ? sought - 1
                                               : sought);
      plain |= unsigned{block[k] == sought} << k;
    }
    ASSERT_EQ(byte_mask(block, sought), plain) << i;
  }
  // The keyword search: strings of keyword letters, a keyword at every
  // offset, split into a head and a rest at every point.
  std::mt19937 random(17);
  const char letters[] = "mainstechlfdvuowrbkqgy_ ";
  for (int i = 0; i < 20000; ++i) {
    std::string text(random() % 24, ' ');
    for (char& c : text) c = letters[random() % (sizeof letters - 1)];
    std::string_view keyword = kKeywords[random() % std::size(kKeywords)];
    text.insert(random() % (text.size() + 1), keyword);
    EXPECT_EQ(keywords_in(text), plain_keywords(text)) << text;
  }
  for (std::string_view head : {"block ", "field ", "value ", "statement ", "shadow "}) {
    for (std::string_view rest : {"sum", "summary", "main", "x sum", ""}) {
      EXPECT_EQ(keywords_in(head, rest), plain_keywords(std::string(head) + std::string(rest)))
          << head << rest;
    }
  }
}

}  // namespace
}  // namespace tenapi
