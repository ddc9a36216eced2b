#include "translate/extract.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tokens.h"
#include "translate/translator.h"

namespace tenapi {
namespace {

// Runs one input line through the translator, whatever it yields.
void step(Translator& t, std::string_view line) {
  std::string text;
  int depth = 0;
  t.step(line, text, depth);
}

// The stretch that delimited_view cuts from the start of the line.
std::string delimited_text(std::string_view line, char open, char close) {
  return std::string(delimited_view(line, open, close, 0));
}

// The extractors' token lines as strings.
std::string extract_field(std::string_view line) { return token_string(field_token(line, 0)); }
std::string extract_value(std::string_view line) { return token_string(value_token(line, 0)); }
std::string extract_statement(std::string_view line) {
  return token_string(statement_token(line, 0));
}
std::string extract_shadow(std::string_view line) { return token_string(shadow_token(line, 0)); }

TEST(DelimitedText, MissingDelimitersAndEnds) {
  EXPECT_EQ(delimited_text("a\"b\"c", '"', '"'), "b");
  EXPECT_EQ(delimited_text("a\"\"c", '"', '"'), "");
  // No opening delimiter: from the start; no closing one: to the end.
  EXPECT_EQ(delimited_text("abc<d", '>', '<'), "abc");
  EXPECT_EQ(delimited_text("a>bc", '>', '<'), "bc");
  EXPECT_EQ(delimited_text("abc", '>', '<'), "abc");
  // The opening delimiter as the last byte leaves nothing to cut.
  EXPECT_EQ(delimited_text("abc\"", '"', '"'), "");
  EXPECT_EQ(delimited_text("", '"', '"'), "");
  // Only the first opening delimiter counts; later pairs are ignored.
  EXPECT_EQ(delimited_text("<f n=\"A\">1</f><f n=\"B\">2</f>", '>', '<'), "1");
}

TEST(Extractors, TypicalLines) {
  EXPECT_EQ(extract_field("<field name=\"A\">10</field>"), "field 10");
  EXPECT_EQ(extract_field("<field name=\"VAR\" id=\"k7\">a</field>"), "field a");
  EXPECT_EQ(extract_value("<value name=\"A\">"), "value A");
  EXPECT_EQ(extract_statement("<statement name=\"DO\">"), "statement DO");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_number\" id=\"s1\">"), "shadow number");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_distance_number\" id=\"s2\">"), "shadow distance");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_variable\" id=\"s3\">"), "***");
}

TEST(Extractors, FieldTextsAndTheFirstOne) {
  // An empty field leaves the first text unset; the next non-empty sets it.
  Translator t;
  EXPECT_EQ(extract_field("<field name=\"A\"></field>"), "field ");
  step(t, "<field name=\"A\"></field>");
  EXPECT_EQ(t.first_field_text, "");
  EXPECT_EQ(extract_field("<field name=\"A\">a b</field>"), "field a b");
  step(t, "<field name=\"A\">a b</field>");
  EXPECT_EQ(t.first_field_text, "a b");
  EXPECT_EQ(extract_field("<field name=\"A\">10"), "field 10");
  EXPECT_EQ(extract_field("<field name=\"A\">"), "field ");
  EXPECT_EQ(extract_field("<field name=\"A\">a&amp;b</field>"), "field a&amp;b");
  step(t, "<field name=\"A\">10");
  step(t, "<field name=\"A\">a&amp;b</field>");
  EXPECT_EQ(t.first_field_text, "a b");

  // Without any ">" the text runs from the start of the line to the "<".
  t = Translator();
  EXPECT_EQ(extract_field("  <field name=\"A\""), "field   ");
  step(t, "  <field name=\"A\"");
  EXPECT_EQ(t.first_field_text, "  ");

  // Non-ASCII bytes (Shift_JIS, UTF-8) pass through untouched.
  t = Translator();
  EXPECT_EQ(extract_field("<field name=\"VAR\">\x82\xa0\x5c</field>"), "field \x82\xa0\x5c");
  step(t, "<field name=\"VAR\">\x82\xa0\x5c</field>");
  EXPECT_EQ(t.first_field_text, "\x82\xa0\x5c");
}

TEST(Extractors, QuotedValuesOfOddLines) {
  EXPECT_EQ(extract_value("<value id=\"x1\" name=\"A\">"), "value x1");
  EXPECT_EQ(extract_value("<value name=\"A>"), "value A>");
  EXPECT_EQ(extract_statement("<statement name=\""), "statement ");
  EXPECT_EQ(extract_value("  <value name=A>"), "value   <value name=A>");
  EXPECT_EQ(extract_shadow("<shadow id=\"s1\" type=\"mevok_number\">"), "***");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_numbers\">"), "***");
  EXPECT_EQ(extract_shadow("<shadow type=\"Mevok_number\">"), "***");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_number \">"), "***");
  EXPECT_EQ(extract_shadow("<shadow type=mevok_number>"), "***");
}

}  // namespace
}  // namespace tenapi
