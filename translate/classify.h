// Naming the element of an input line and making its token line.
#ifndef TENAPI_TRANSLATE_CLASSIFY_H_
#define TENAPI_TRANSLATE_CLASSIFY_H_

#include <string_view>

#include "translate/token.h"

namespace tenapi {

// The element name of the line, "/statement" for a closing line, or "***",
// as a view into the line or a literal. The bytes before `from` are blanks.
std::string_view element_name(std::string_view line, std::string_view::size_type from);

// "block " and the kind of a block line's type, or the skip marker.
TokenView block_token(std::string_view line, std::string_view::size_type from);

// The token line of an input line (without its line end), as views into
// the line or literals; copies nothing.
TokenView classify(std::string_view line);

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_CLASSIFY_H_
