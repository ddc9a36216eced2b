#include "translate/token.h"

#include <climits>
#include <string>
#include <string_view>

#include "translate/keywords.h"
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
  if (contains(token.head, token.rest, first)) {
    if (line.find(first) != npos) {
      fill_value(line, arg);
    } else {
      fill_first_a(line, arg);
    }
    return "***";
  }
  if (contains(token.head, token.rest, "0")) {
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

// The token line itself, for when no test holds. That is the skip marker,
// or a line that did not come from the classifier (every head holds a
// keyword), so joining the two parts in a buffer of its own is rare.
std::string_view unchanged(TokenView token) {
  if (token.head.empty()) return token.rest;
  static std::string joined;
  joined.assign(token.head).append(token.rest);
  return joined;
}

}  // namespace

std::string_view translate_view(TokenView token) {
  const unsigned found = token.keywords;
  // Without a keyword no test below holds: the skip marker, for one.
  if (found == 0) return unchanged(token);
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
  return set ? out : unchanged(token);
}

std::string translate_token(std::string token) {
  return std::string(translate_view({std::string_view(), token, keywords_in(token)}));
}
