#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

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
  const struct {
    const char* bytes;
    bool closed;
  } rows[] = {
      {"<xml xmlns=\"x\"><block type=\"mevok_main\"></block></xml>", true},  // one line
      {"\xef\xbb\xbf<?xml version=\"1.0\"?>\n<xml>\n</xml>\r\n \t\r\n\n", true},
      {"<xml>\n</xml>\x1a<block>\n", true},
      {"<xml>\n  <block type=\"mevok_main\">\n", false},  // cut off half-way
      {"<xml>\n</xml> <b>\n", false},
      {"", false},
  };
  for (const auto& row : rows) {
    Analysis got = through(row.bytes, [](LineReader& r, Outline& o) { return analyse(r, o); });
    EXPECT_EQ(got.closed, row.closed) << row.bytes;
  }
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
  EXPECT_EQ(through(x.substr(x.find('\n') + 1), read), "not an outline");
  EXPECT_EQ(through(x + "\r\n", read), "not an outline");
  EXPECT_EQ(through("\n" + x.substr(2), read), "not an outline");
  EXPECT_EQ(through(x.substr(0, x.size() - 2), read), "not an outline");
}

}  // namespace
}  // namespace tenapi
