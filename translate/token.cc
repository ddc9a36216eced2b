#include "translate/token.h"

#include <array>
#include <climits>
#include <string>
#include <string_view>

#include "translate/pipeline.h"

namespace {

constexpr std::string::size_type npos = std::string::npos;

// Adds one without overflowing: a depth or mode this large is already far
// outside anything an editor writes, and the sign must not flip.
void raise(int& value) {
  if (value < INT_MAX) ++value;
}

// Subtracts one without overflowing.
void lower(int& value) {
  if (value > INT_MIN) --value;
}

// The keywords that the translator's tests look for, one bit each.
constexpr std::string_view kKeywords[] = {
    "main",  "statement", "change",  "field",    "value",     "shadow", "while",    "if_else",
    "equal", "variable",  "forward", "leftturn", "rightturn", "sum",    "block sum"};
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

// For each of the first three positions of a keyword and each byte, the
// keywords that have that byte there. Every keyword has at least three.
constexpr std::array<std::array<unsigned, 256>, 3> kBytes = [] {
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
bool starts_with_at(std::string_view text, std::size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t j = 0; j < word.size(); ++j) {
    if (text[pos + j] != word[j]) return false;
  }
  return true;
}

// The keywords that occur anywhere in `text`, found in one pass: at each
// position, only the keywords whose first three bytes stand there are
// compared in full.
unsigned keywords_in(std::string_view text) {
  auto at = [text](std::size_t j, std::size_t i) {
    return kBytes[j][static_cast<unsigned char>(text[i])];
  };
  unsigned found = 0;
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    unsigned candidates = at(0, i) & at(1, i + 1) & at(2, i + 2);
    for (std::size_t k = 0; candidates != 0; ++k, candidates >>= 1) {
      if ((candidates & 1) != 0 && starts_with_at(text, i, kKeywords[k])) found |= 1u << k;
    }
  }
  return found;
}

// True when the token line (head then rest) contains `text` anywhere,
// also across the seam between the two parts.
bool contains(TokenView token, std::string_view text) {
  if (token.rest.find(text) != npos || token.head.find(text) != npos) return true;
  // Across the seam: the head ends with the start of `text`, the rest
  // begins with the remainder.
  for (std::size_t k = 1; k < text.size() && k <= token.head.size(); ++k) {
    if (token.head.back() == text[k - 1] &&
        token.head.substr(token.head.size() - k) == text.substr(0, k) &&
        token.rest.substr(0, text.size() - k) == text.substr(k)) {
      return true;
    }
  }
  return false;
}

// The keywords that the token line contains. A head is empty or ends with
// its blank, so only a keyword with a blank in it can run across the seam.
unsigned keywords_in(TokenView token) {
  unsigned found = keywords_in(token.head) | keywords_in(token.rest);
  // "sum" has no blank, so it is found above wherever "block sum" stands.
  if ((found & kSum) != 0 && !token.head.empty() && contains(token, "block sum")) {
    found |= kBlockSum;
  }
  return found;
}

// True when the token line is exactly `text`.
bool equals(TokenView token, std::string_view text) {
  return token.head.size() + token.rest.size() == text.size() &&
         text.substr(0, token.head.size()) == token.head &&
         text.substr(token.head.size()) == token.rest;
}

// Replaces `count` bytes of `line` at `pos` with `text`. A stretch that
// starts at the end of the line appends; one past the end changes nothing.
void replace_at(std::string& line, std::string::size_type pos, std::string::size_type count,
                std::string_view text) {
  if (pos > line.size()) return;
  line.replace(pos, count, text);
}

// Puts `text` in place of the byte two positions after the first "=".
void fill_value(std::string& line, std::string_view text) {
  std::string::size_type equals = line.find('=');
  if (equals != npos) replace_at(line, equals + 2, 1, text);
}

// Puts `text` in place of the first "a" (the left operand of a template).
void fill_first_a(std::string& line, std::string_view text) {
  std::string::size_type a = line.find('a');
  if (a != npos) replace_at(line, a, 1, text);
}

// The field rules for modes 0 and 7 and above; returns the outline line.
std::string_view fill_by_text(TokenView token, std::string_view arg) {
  const std::string& first = first_field_text;
  std::string& line = carried_line;
  if (contains(token, first)) {
    if (line.find(first) != npos) {
      fill_value(line, arg);
    } else {
      fill_first_a(line, arg);
    }
    return "***";
  }
  if (contains(token, "0")) {
    if (line == "a = n") {
      fill_first_a(line, arg);
    } else {
      // The left operand of "if(a = n) {": between the "(" and the blank.
      std::string::size_type open = line.find('(');
      std::string::size_type blank = line.find(' ');
      if (open != npos && blank != npos && blank > open) {
        replace_at(line, open + 1, blank - open - 1, arg);
      }
    }
    return "***";
  }
  // Completion: the byte after the last F and the three bytes " = ".
  std::string::size_type last = line.rfind(first);
  if (last != npos) replace_at(line, last + first.size() + 3, 1, arg);
  return line;
}

// Applies the field rule chosen by field_mode; returns the outline line.
std::string_view fill_field(TokenView token, std::string_view arg) {
  switch (field_mode) {
    case 1: {
      std::string::size_type zero = carried_line.rfind('0');
      if (zero != npos) carried_line.replace(zero, 1, first_field_text);
      field_mode = 0;
      return "***";
    }
    case 2:
      fill_value(carried_line, arg);
      field_mode = 0;
      return carried_line;
    case 3:
    case 6:
      return "***";
    case 4:
    case 5:
      field_mode += 1;
      return "***";
    default:
      return fill_by_text(token, arg);
  }
}

}  // namespace

std::string_view translate_view(TokenView token) {
  // The skip marker holds none of the keywords: no test below would hold.
  if (equals(token, "***")) return "***";
  const unsigned found = keywords_in(token);
  auto has = [found](Keyword keyword) { return (found & keyword) != 0; };
  // The argument runs from after the first blank. A head ends with that
  // blank; without a head and without a blank, npos + 1 wraps to 0 and the
  // whole token line is the argument.
  std::string_view arg =
      token.head.empty() ? token.rest.substr(token.rest.find(' ') + 1) : token.rest;

  // Every test whose condition holds runs, in order; the last one that
  // sets the returned line decides it.
  std::string_view out;
  bool set = false;
  auto put = [&out, &set](std::string_view line) {
    out = line;
    set = true;
  };
  if (has(kMain)) put("int main() {");
  if (has(kStatement)) {
    if (equals(token, "/statement")) {
      put("} else {");
      lower(indent_depth);
    } else {
      put("***");
      raise(indent_depth);
    }
  }
  if (has(kChange)) {
    put("***");
    carried_line = "a = n";
  }
  if (has(kField)) put(fill_field(token, arg));
  if (has(kValue)) put("***");
  if (has(kShadow)) put("***");
  if (has(kWhile)) put("while() {");
  if (has(kIfElse)) {
    put("***");
    carried_line = "if(a = n) {";
  }
  if (has(kEqual)) put("***");
  if (has(kVariable)) {
    put("***");
    raise(field_mode);
  }
  if (has(kForward) || has(kLeftturn) || has(kRightturn)) {
    put("***");
    carried_line.assign(arg).append(" = n");
    field_mode = 2;
  }
  if (has(kSum)) {
    put("***");
    field_mode = 3;
  }
  if (has(kBlockSum)) put("action = action + 1");
  if (set) return out;
  // No test held: the token line comes back unchanged. Every token line
  // that the classifier makes meets a test, so this is rare enough to
  // join the two parts in a buffer of its own.
  if (token.head.empty()) return token.rest;
  static std::string unchanged;
  unchanged.assign(token.head).append(token.rest);
  return unchanged;
}

std::string translate_token(std::string token) {
  return std::string(translate_view({std::string_view(), token}));
}
