// Cutting element arguments out of input lines by single-byte delimiters.
#ifndef TENAPI_TRANSLATE_EXTRACT_H_
#define TENAPI_TRANSLATE_EXTRACT_H_

#include <string>
#include <string_view>

#include "translate/bytes.h"
#include "translate/pipeline.h"

// The bytes after the first `open` up to the next `close` (the whole rest
// of the line when `close` is missing; from the start when `open` is).
// The search starts at `from`: the bytes before it are blanks, which are
// never a delimiter.
std::string_view delimited_view(std::string_view line, char open, char close,
                                std::string_view::size_type from = 0);

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

// The extractors without copies: the token lines as views into `line`,
// whose bytes before `from` are blanks.
TokenView field_token(std::string_view line, std::string_view::size_type from = 0);
TokenView value_token(std::string_view line, std::string_view::size_type from = 0);
TokenView statement_token(std::string_view line, std::string_view::size_type from = 0);
TokenView shadow_token(std::string_view line, std::string_view::size_type from = 0);

// The token line as one string.
std::string token_text(TokenView token);

#endif  // TENAPI_TRANSLATE_EXTRACT_H_
