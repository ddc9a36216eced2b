#include "translate/classify.h"

#include <string_view>

#include "translate/extract.h"
#include "translate/pipeline.h"

namespace {

// Block types and their token lines; the type is compared as a whole.
struct BlockKind {
  std::string_view type;
  const char* token;
};

constexpr BlockKind kBlockKinds[] = {
    {"mevok_main", "block main"},
    {"mevok_variable_change", "block change"},
    {"mevok_while_infinity", "block while"},
    {"mevok_if_else", "block if_else"},
    {"mevok_equal", "block equal"},
    {"mevok_variable", "block variable"},
    {"mevok_forward", "block forward"},
    {"mevok_leftturn", "block leftturn"},
    {"mevok_rightturn", "block rightturn"},
    {"mevok_sum", "block sum"},
};

// The element name of the line as a view into it (or into a literal), so
// that classifying a line copies nothing.
std::string_view tag_view(std::string_view line) {
  std::string_view::size_type open = line.find('<');
  // The blank that ends the name; none when the line holds no "<" at all.
  std::string_view::size_type blank =
      open == std::string_view::npos ? std::string_view::npos : line.find(' ', open);
  if (blank != std::string_view::npos) return line.substr(open + 1, blank - open - 1);
  if (line.find("/statement") != std::string_view::npos) return "/statement";
  return "***";
}

}  // namespace

std::string tag_name(std::string line) { return std::string(tag_view(line)); }

std::string block_kind(std::string line) {
  std::string_view type = delimited_view(line, '"', '"');
  for (const BlockKind& kind : kBlockKinds) {
    if (type == kind.type) return kind.token;
  }
  return "***";
}

std::string classify_line(std::string line) {
  std::string_view name = tag_view(line);
  if (name == "block") return block_kind(std::move(line));
  if (name == "statement") return extract_statement(std::move(line));
  if (name == "field") return extract_field(std::move(line));
  if (name == "value") return extract_value(std::move(line));
  if (name == "shadow") return extract_shadow(std::move(line));
  if (name == "/statement") return "/statement";
  return "***";
}
