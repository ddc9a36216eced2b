// A token line: what the classifier makes of an input line for the
// translator, held without a copy.
#ifndef TENAPI_TRANSLATE_TOKEN_H_
#define TENAPI_TRANSLATE_TOKEN_H_

#include <cstddef>
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

// True when the token line `head` then `rest` contains `text` anywhere,
// also across the seam between the two parts.
constexpr bool contains(std::string_view head, std::string_view rest, std::string_view text) {
  if (rest.find(text) != std::string_view::npos || head.find(text) != std::string_view::npos) {
    return true;
  }
  // Across the seam: the head ends with the start of `text`, the rest
  // begins with the remainder.
  for (std::size_t k = 1; k < text.size() && k <= head.size(); ++k) {
    if (head.back() == text[k - 1] && head.substr(head.size() - k) == text.substr(0, k) &&
        rest.substr(0, text.size() - k) == text.substr(k)) {
      return true;
    }
  }
  return false;
}

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_TOKEN_H_
