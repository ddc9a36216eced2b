// Token lines as text, for the tests of the classifier and the translator.
#ifndef TENAPI_TESTS_TOKENS_H_
#define TENAPI_TESTS_TOKENS_H_

#include <string>
#include <string_view>

#include "translate/keywords.h"
#include "translate/token.h"

namespace tenapi {

// The token line as one string.
inline std::string token_string(TokenView token) {
  return std::string(token.head) + std::string(token.rest);
}

// The token line `line`, with the keywords it contains; it views `line`.
inline TokenView token_of(std::string_view line) { return {"", line, keywords_in(line)}; }

}  // namespace tenapi

#endif  // TENAPI_TESTS_TOKENS_H_
