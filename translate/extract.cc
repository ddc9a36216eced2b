#include "translate/extract.h"

#include "translate/bytes.h"
#include "translate/keywords.h"

namespace tenapi {

std::string_view delimited_view(std::string_view line, char open, char close,
                                std::string_view::size_type from) {
  // A missing opening delimiter is npos, and npos + 1 wraps to 0, so the
  // stretch then starts at the beginning of the line.
  std::string_view::size_type start = find_byte(line, open, from) + 1;
  // A missing closing delimiter is npos, so the count runs to the end.
  std::string_view::size_type end = find_byte(line, close, start > from ? start : from);
  return line.substr(start, end - start);
}

namespace {

// A token line with the literal `head` and a `rest` from the input. Only
// the rest is searched for keywords: the head's are known, and none runs
// across the seam, as no head ends with the start of "block sum".
TokenView with_head(std::string_view head, unsigned head_keywords, std::string_view rest) {
  return {head, rest, head_keywords | keywords_in(rest)};
}

static_assert(keywords_in("field ", "") == kField && keywords_in("value ", "") == kValue &&
              keywords_in("statement ", "") == kStatement);

constexpr TokenView kShadowNumber = {"shadow ", "number", keywords_in("shadow ", "number")};
constexpr TokenView kShadowDistance = {"shadow ", "distance", keywords_in("shadow ", "distance")};

}  // namespace

TokenView field_token(std::string_view line, std::string_view::size_type from) {
  return with_head("field ", kField, delimited_view(line, '>', '<', from));
}

TokenView value_token(std::string_view line, std::string_view::size_type from) {
  return with_head("value ", kValue, delimited_view(line, '"', '"', from));
}

TokenView statement_token(std::string_view line, std::string_view::size_type from) {
  return with_head("statement ", kStatement, delimited_view(line, '"', '"', from));
}

TokenView shadow_token(std::string_view line, std::string_view::size_type from) {
  std::string_view type = delimited_view(line, '"', '"', from);
  TokenView token = kSkipToken;
  if (type == "mevok_number") token = kShadowNumber;
  if (type == "mevok_distance_number") token = kShadowDistance;
  return token;
}

}  // namespace tenapi
