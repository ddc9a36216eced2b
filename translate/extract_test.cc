#include "translate/extract.h"

#include <gtest/gtest.h>

#include "tests/test_state.h"

namespace {

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
  reset_pipeline();
  EXPECT_EQ(extract_field("<field name=\"A\">10</field>"), "field 10");
  EXPECT_EQ(extract_field("<field name=\"VAR\" id=\"k7\">a</field>"), "field a");
  EXPECT_EQ(extract_value("<value name=\"A\">"), "value A");
  EXPECT_EQ(extract_statement("<statement name=\"DO\">"), "statement DO");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_number\" id=\"s1\">"), "shadow number");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_distance_number\" id=\"s2\">"), "shadow distance");
  EXPECT_EQ(extract_shadow("<shadow type=\"mevok_variable\" id=\"s3\">"), "***");
}

TEST(Extractors, FieldTextsAndTheFirstOne) {
  reset_pipeline();
  // An empty field leaves the first text unset; the next non-empty sets it.
  EXPECT_EQ(extract_field("<field name=\"A\"></field>"), "field ");
  EXPECT_EQ(first_field_text, "");
  EXPECT_EQ(extract_field("<field name=\"A\">a b</field>"), "field a b");
  EXPECT_EQ(first_field_text, "a b");
  EXPECT_EQ(extract_field("<field name=\"A\">10"), "field 10");
  EXPECT_EQ(extract_field("<field name=\"A\">"), "field ");
  EXPECT_EQ(extract_field("<field name=\"A\">a&amp;b</field>"), "field a&amp;b");
  EXPECT_EQ(first_field_text, "a b");

  // Without any ">" the text runs from the start of the line to the "<".
  reset_pipeline();
  EXPECT_EQ(extract_field("  <field name=\"A\""), "field   ");
  EXPECT_EQ(first_field_text, "  ");

  // Non-ASCII bytes (Shift_JIS, UTF-8) pass through untouched.
  reset_pipeline();
  EXPECT_EQ(extract_field("<field name=\"VAR\">\x82\xa0\x5c</field>"), "field \x82\xa0\x5c");
  EXPECT_EQ(first_field_text, "\x82\xa0\x5c");
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
