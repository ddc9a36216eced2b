// The keywords that the token translator's tests look for, and finding them
// in a token line. Usable at compile time, so that the token lines the
// classifier makes from literals carry their keywords at no cost.
#ifndef TENAPI_TRANSLATE_KEYWORDS_H_
#define TENAPI_TRANSLATE_KEYWORDS_H_

#include <array>
#include <cstddef>
#include <string_view>

#include "translate/token.h"

namespace tenapi {

// The keywords, one bit each, in the order of the table below.
enum Keyword : unsigned {
  kMain = 1u << 0,
  kStatement = 1u << 1,
  kChange = 1u << 2,
  kField = 1u << 3,
  kValue = 1u << 4,
  kShadow = 1u << 5,
  kWhile = 1u << 6,
  kIfElse = 1u << 7,
  kEqual = 1u << 8,
  kVariable = 1u << 9,
  kForward = 1u << 10,
  kLeftturn = 1u << 11,
  kRightturn = 1u << 12,
  kSum = 1u << 13,
  kBlockSum = 1u << 14,
};

// The keyword texts, indexed by bit position.
inline constexpr std::string_view kKeywords[] = {
    "main",  "statement", "change",  "field",    "value",     "shadow", "while",    "if_else",
    "equal", "variable",  "forward", "leftturn", "rightturn", "sum",    "block sum"};

// For each of the first three positions of a keyword and each byte, the
// keywords that have that byte there. Every keyword has at least three.
inline constexpr std::array<std::array<unsigned, 256>, 3> kKeywordBytes = [] {
  std::array<std::array<unsigned, 256>, 3> table{};
  for (std::size_t k = 0; k < std::size(kKeywords); ++k) {
    for (std::size_t j = 0; j < 3; ++j) {
      table[j][static_cast<unsigned char>(kKeywords[k][j])] |= 1u << k;
    }
  }
  return table;
}();

// True when `word` stands in `text` at `pos`. A plain loop: the words are
// a few bytes long, too short to pay for a call to memcmp.
constexpr bool starts_with_at(std::string_view text, std::size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t j = 0; j < word.size(); ++j) {
    if (text[pos + j] != word[j]) return false;
  }
  return true;
}

// The keywords that occur anywhere in `text`, found in one pass: at each
// position, only the keywords whose first three bytes stand there are
// compared in full.
constexpr unsigned keywords_in(std::string_view text) {
  unsigned found = 0;
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    unsigned candidates = kKeywordBytes[0][static_cast<unsigned char>(text[i])] &
                          kKeywordBytes[1][static_cast<unsigned char>(text[i + 1])] &
                          kKeywordBytes[2][static_cast<unsigned char>(text[i + 2])];
    for (std::size_t k = 0; candidates != 0; ++k, candidates >>= 1) {
      if ((candidates & 1) != 0 && starts_with_at(text, i, kKeywords[k])) found |= 1u << k;
    }
  }
  return found;
}

// The keywords that the token line `head` then `rest` contains. A head is
// empty or ends with its blank, so only a keyword with a blank in it can
// run across the seam.
constexpr unsigned keywords_in(std::string_view head, std::string_view rest) {
  unsigned found = keywords_in(head) | keywords_in(rest);
  // "sum" has no blank, so it is found above wherever "block sum" stands.
  if ((found & kSum) != 0 && !head.empty() && contains(head, rest, "block sum")) {
    found |= kBlockSum;
  }
  return found;
}

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_KEYWORDS_H_
