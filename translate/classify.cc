#include "translate/classify.h"

#include <string_view>

#include "translate/bytes.h"
#include "translate/extract.h"
#include "translate/keywords.h"

namespace tenapi {

namespace {

// The closing line as a token line.
constexpr TokenView kClose = {"", "/statement", keywords_in("", "/statement")};

// The token line of a block of the given kind, its keywords found as the
// program is compiled.
constexpr TokenView block(std::string_view kind) {
  return {"block ", kind, keywords_in("block ", kind)};
}

// Block types and the token lines of their kinds; the type is compared as
// a whole.
struct BlockKind {
  std::string_view type;
  TokenView token;
};

constexpr BlockKind kBlockKinds[] = {
    {"mevok_main", block("main")},
    {"mevok_variable_change", block("change")},
    {"mevok_while_infinity", block("while")},
    {"mevok_if_else", block("if_else")},
    {"mevok_equal", block("equal")},
    {"mevok_variable", block("variable")},
    {"mevok_forward", block("forward")},
    {"mevok_leftturn", block("leftturn")},
    {"mevok_rightturn", block("rightturn")},
    {"mevok_sum", block("sum")},
};

}  // namespace

std::string_view element_name(std::string_view line, std::string_view::size_type from) {
  // Editors put the tag right after the indentation. One byte compared
  // there lets the steps after it go on at once; they would wait for the
  // result of a search.
  std::string_view::size_type open =
      from < line.size() && line[from] == '<' ? from : find_byte(line, '<', from);
  // The blank that ends the name; none when the line holds no "<" at all.
  std::string_view::size_type blank =
      open == std::string_view::npos ? std::string_view::npos : find_byte(line, ' ', open);
  if (blank != std::string_view::npos) return line.substr(open + 1, blank - open - 1);
  if (line.find("/statement", from) != std::string_view::npos) return "/statement";
  return "***";
}

TokenView block_token(std::string_view line, std::string_view::size_type from) {
  std::string_view type = delimited_view(line, '"', '"', from);
  for (const BlockKind& kind : kBlockKinds) {
    if (type == kind.type) return kind.token;
  }
  return kSkipToken;
}

TokenView classify(std::string_view line) {
  // Every search starts after the indentation: editors indent every line,
  // often by dozens of blanks.
  std::string_view::size_type from = skip_bytes(line, ' ');
  std::string_view name = element_name(line, from);
  if (name == "block") return block_token(line, from);
  if (name == "statement") return statement_token(line, from);
  if (name == "field") return field_token(line, from);
  if (name == "value") return value_token(line, from);
  if (name == "shadow") return shadow_token(line, from);
  if (name == "/statement") return kClose;
  return kSkipToken;
}

}  // namespace tenapi
