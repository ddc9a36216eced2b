// Cutting element arguments out of input lines by single-byte delimiters.
#ifndef TENAPI_TRANSLATE_EXTRACT_H_
#define TENAPI_TRANSLATE_EXTRACT_H_

#include <string_view>

#include "translate/token.h"

namespace tenapi {

// The bytes after the first `open` up to the next `close` (the whole rest
// of the line when `close` is missing; from the start when `open` is).
// The search starts at `from`: the bytes before it are blanks, which are
// never a delimiter.
std::string_view delimited_view(std::string_view line, char open, char close,
                                std::string_view::size_type from);

// The token lines of field, value, statement and shadow lines, as views
// into `line`, whose bytes before `from` are blanks: "field " and the
// element's text; "value " or "statement " and the first double-quoted
// value; "shadow number", "shadow distance" or the skip marker.
TokenView field_token(std::string_view line, std::string_view::size_type from);
TokenView value_token(std::string_view line, std::string_view::size_type from);
TokenView statement_token(std::string_view line, std::string_view::size_type from);
TokenView shadow_token(std::string_view line, std::string_view::size_type from);

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_EXTRACT_H_
