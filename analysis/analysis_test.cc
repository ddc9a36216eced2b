#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace tenapi {
namespace {

// `bytes` through a reader of 16 bytes at a time, so that lines cross its ends.
template <typename Step>
auto through(const std::string& bytes, Step step) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  LineReader reader(file, 16);
  auto lines = std::make_unique<Outline>();
  auto result = step(reader, *lines);
  std::fclose(file);
  return result;
}

TEST(Analysis, ClosedWhereTheLastLineWithTextEndsTheDocument) {
  const std::pair<const char*, bool> rows[] = {
      {"<xml xmlns=\"x\"><block type=\"mevok_main\"></block></xml>", true},  // one line
      {"\xef\xbb\xbf<?xml version=\"1.0\"?>\n<xml>\n</xml>\r\n \t\r\n\n", true},
      {"<xml>\n</xml>\x1a<block>\n", true},
      {"<xml>\n  <block type=\"mevok_main\">\n", false},  // cut off half-way
      {"<xml>\n</xml> <b>\n", false},
      {"", false},
  };
  const auto closes = [](LineReader& r, Outline& o) { return analyse(r, o).closed; };
  for (const auto& [bytes, closed] : rows) EXPECT_EQ(through(bytes, closes), closed) << bytes;
}

TEST(Outline, ReadBackAsRendered) {
  struct Bytes : Sink {
    bool write(const char* b, std::size_t n) override { return text.append(b, n), true; }
    std::string text;
  };
  auto lines = std::make_unique<Outline>();
  (*lines)[0] = {0, "int main() {"};
  (*lines)[1] = {3, " odd"};
  (*lines)[2] = {2, "\x82\xa0\r"};
  (*lines)[197] = {40000, "last"};
  Bytes rendered;
  ASSERT_TRUE(render_outline(rendered, *lines));
  const std::string x = rendered.text;
  const auto read = [](LineReader& r, Outline& o) {
    Bytes again;
    return read_outline(r, o) && render_outline(again, o) ? again.text : "not an outline";
  };
  EXPECT_EQ(through(x, read), x);
  // Anything else is not one: a line short or over, LF alone, no last CR LF.
  for (const std::string& other :
       {x.substr(x.find('\n') + 1), x + "\r\n", "\n" + x.substr(2), x.substr(0, x.size() - 2)}) {
    EXPECT_EQ(through(other, read), "not an outline");
  }
}

}  // namespace
}  // namespace tenapi
