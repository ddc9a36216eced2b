// Cutting element arguments out of input lines by single-byte delimiters.
#ifndef TENAPI_TRANSLATE_EXTRACT_H_
#define TENAPI_TRANSLATE_EXTRACT_H_

#include <string>
#include <string_view>

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

#endif  // TENAPI_TRANSLATE_EXTRACT_H_
