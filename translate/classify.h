// Naming the element of an input line and mapping block lines to kinds.
#ifndef TENAPI_TRANSLATE_CLASSIFY_H_
#define TENAPI_TRANSLATE_CLASSIFY_H_

#include <string>

// The element name of the line, "/statement" for a closing line, or "***".
std::string tag_name(std::string line);
// "block " and the kind of a block line's type, or "***" for other types.
std::string block_kind(std::string line);

#endif  // TENAPI_TRANSLATE_CLASSIFY_H_
