// A token line: what the classifier makes of an input line for the
// translator, held without a copy.
#ifndef TENAPI_TRANSLATE_TOKEN_H_
#define TENAPI_TRANSLATE_TOKEN_H_

#include <string_view>

namespace tenapi {

// The token line `head` then `rest`. `head` is empty or a keyword and its
// blank ("field "), always a literal; `rest` runs to the end of the token
// line and views a literal or the input line. `keywords` holds the
// translator's keywords that the token line contains (translate/keywords.h).
struct TokenView {
  std::string_view head;
  std::string_view rest;
  unsigned keywords;
};

// The skip marker as a token line: the input line yields nothing.
constexpr TokenView kSkipToken = {"", "***", 0};

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_TOKEN_H_
