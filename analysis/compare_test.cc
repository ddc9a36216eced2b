#include "analysis/compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace tenapi {
namespace {

// An outline from its lines joined by '|', two leading blanks a level.
std::unique_ptr<Outline> outline(const std::string& lines) {
  auto made = std::make_unique<Outline>();
  std::size_t i = 0;
  for (std::size_t from = 0; from <= lines.size(); ++i) {
    std::size_t end = std::min(lines.find('|', from), lines.size());
    std::size_t blanks = std::min(lines.find_first_not_of(' ', from), end) - from;
    (*made)[i] = {static_cast<int>(blanks / 2), lines.substr(from + blanks, end - from - blanks)};
    from = end + 1;
  }
  return made;
}

const char kSquare[] =
    "int main() {|  count = 4|  while() {|    forward = 50|    rightturn = 90|  } else {|} else {";

TEST(Compare, ChangesAndConstructs) {
  std::string many = "x = 0", removals;
  for (int i = 1; i < 198; ++i)
    many += "|forward = " + std::to_string(i), removals += " -" + std::to_string(i) + "/1";
  struct Row {
    std::string model, other, changes, constructs;
  } rows[] = {
      {kSquare, kSquare, "", "1 1 0 1 0 1 0 1"},
      {kSquare, "int main() {|  count = 5|  while() {|    forward = 50|    rightturn = 90|  } else {|} else {",
       " ~1/1", "1 1 0 1 0 1 0 1"},
      // The loop missing: its body one level up, its line and its end gone.
      {kSquare, "int main() {|  forward = 50|  rightturn = 90|} else {", " ~1/1 ~2/2 -3/3 -4/3 -5/3",
       "1 0 0 1 0 1 0 0"},
      {kSquare, std::string(kSquare) + "|      |", "", "1 1 0 1 0 1 0 1"},
      {"if(a = 3) {|action = action + 1|leftturn = n|a = n|} else {",
       "if(x = 3) {|action = action + 1|  leftturn = n|leftturnx = 1|if(x) {|} else {", " ~0/0 ~2/2 ~3/3 +4/4",
       "0 0 1 0 1 0 1 1"},
      {many, "x = 0", removals, "0 0 0 0 0 0 0 1"},
  };
  for (const Row& row : rows) {
    std::string changes;
    for (const Change& c : compare_outlines(*outline(row.model), *outline(row.other))) {
      const char* sign = c.kind == Change::Kind::kChanged ? " ~" : c.kind == Change::Kind::kRemoved ? " -" : " +";
      changes += sign + std::to_string(c.model) + "/" + std::to_string(c.other);
    }
    EXPECT_EQ(changes, row.changes) << row.other;
    std::string constructs;
    for (std::size_t count : constructs_of(*outline(row.other))) constructs += " " + std::to_string(count);
    EXPECT_EQ(constructs.substr(1), row.constructs) << row.other;
  }
}

}  // namespace
}  // namespace tenapi
