#include "translate/classify.h"

#include <string_view>

#include "translate/extract.h"
#include "translate/pipeline.h"

namespace {

// The closing line as a token line.
constexpr TokenView kClose = {"", "/statement"};

// Block types and the kind word that follows "block " in their token lines;
// the type is compared as a whole.
struct BlockKind {
  std::string_view type;
  std::string_view kind;
};

constexpr BlockKind kBlockKinds[] = {
    {"mevok_main", "main"},
    {"mevok_variable_change", "change"},
    {"mevok_while_infinity", "while"},
    {"mevok_if_else", "if_else"},
    {"mevok_equal", "equal"},
    {"mevok_variable", "variable"},
    {"mevok_forward", "forward"},
    {"mevok_leftturn", "leftturn"},
    {"mevok_rightturn", "rightturn"},
    {"mevok_sum", "sum"},
};

// The element name of the line as a view into it (or into a literal), so
// that classifying a line copies nothing.
std::string_view tag_view(std::string_view line) {
  std::string_view::size_type open = line.find('<');
  // The blank that ends the name; none when the line holds no "<" at all.
  std::string_view::size_type blank =
      open == std::string_view::npos ? std::string_view::npos : find_byte(line, ' ', open);
  if (blank != std::string_view::npos) return line.substr(open + 1, blank - open - 1);
  if (line.find("/statement") != std::string_view::npos) return "/statement";
  return "***";
}

// "block " and the kind of a block line's type, or the skip marker.
TokenView block_token(std::string_view line) {
  std::string_view type = delimited_view(line, '"', '"');
  for (const BlockKind& kind : kBlockKinds) {
    if (type == kind.type) return {"block ", kind.kind};
  }
  return kSkipToken;
}

}  // namespace

std::string tag_name(std::string line) { return std::string(tag_view(line)); }

std::string block_kind(std::string line) { return token_text(block_token(line)); }

TokenView classify_view(std::string_view line) {
  std::string_view name = tag_view(line);
  if (name == "block") return block_token(line);
  if (name == "statement") return statement_token(line);
  if (name == "field") return field_token(line);
  if (name == "value") return value_token(line);
  if (name == "shadow") return shadow_token(line);
  if (name == "/statement") return kClose;
  return kSkipToken;
}

std::string classify_line(std::string line) { return token_text(classify_view(line)); }
