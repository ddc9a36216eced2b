// Cutting element arguments out of input lines by single-byte delimiters.
#ifndef TENAPI_TRANSLATE_EXTRACT_H_
#define TENAPI_TRANSLATE_EXTRACT_H_

#include <string>
#include <string_view>

#include "translate/pipeline.h"

// The position of the first `byte` in `text` at or after `from`, or npos.
// An inline loop: the stretches searched this way are a few bytes long,
// where a call to memchr costs more than the search.
inline std::string_view::size_type find_byte(std::string_view text, char byte,
                                             std::string_view::size_type from) {
  for (std::string_view::size_type i = from; i < text.size(); ++i) {
    if (text[i] == byte) return i;
  }
  return std::string_view::npos;
}

// The bytes after the first `open` up to the next `close` (the whole rest
// of the line when `close` is missing; from the start when `open` is).
std::string_view delimited_view(std::string_view line, char open, char close);

// The same stretch as delimited_view, as a new string.
std::string delimited_text(std::string line, char open, char close);

// "field " and the element's text; records the first non-empty text.
std::string extract_field(std::string line);

// "value " and the first double-quoted value on the line.
std::string extract_value(std::string line);

// "statement " and the first double-quoted value on the line.
std::string extract_statement(std::string line);

// "shadow number", "shadow distance" or "***" by the shadow's type.
std::string extract_shadow(std::string line);

// The skip marker as a token line.
constexpr TokenView kSkipToken = {"", "***", 0};

// The extractors without copies: the token lines as views into `line`.
TokenView field_token(std::string_view line);
TokenView value_token(std::string_view line);
TokenView statement_token(std::string_view line);
TokenView shadow_token(std::string_view line);

// The token line as one string.
std::string token_text(TokenView token);

#endif  // TENAPI_TRANSLATE_EXTRACT_H_
