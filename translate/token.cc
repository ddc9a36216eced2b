#include "translate/token.h"

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

// Replaces `count` bytes of `line` at `pos` with `text`. A stretch that
// starts at the end of the line appends; one past the end changes nothing.
void replace_at(std::string& line, std::string::size_type pos, std::string::size_type count,
                const std::string& text) {
  if (pos > line.size()) return;
  line.replace(pos, count, text);
}

// Puts `text` in place of the byte two positions after the first "=".
void fill_value(std::string& line, const std::string& text) {
  std::string::size_type equals = line.find('=');
  if (equals != npos) replace_at(line, equals + 2, 1, text);
}

// Puts `text` in place of the first "a" (the left operand of a template).
void fill_first_a(std::string& line, const std::string& text) {
  std::string::size_type a = line.find('a');
  if (a != npos) replace_at(line, a, 1, text);
}

// The field rules for modes 0 and 7 and above; returns the outline line.
std::string fill_by_text(const std::string& token, const std::string& arg) {
  const std::string& first = first_field_text;
  std::string& line = carried_line;
  if (token.find(first) != npos) {
    if (line.find(first) != npos) {
      fill_value(line, arg);
    } else {
      fill_first_a(line, arg);
    }
    return "***";
  }
  if (token.find('0') != npos) {
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
std::string fill_field(const std::string& token, const std::string& arg) {
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

std::string translate_token(std::string token) {
  std::string_view view = token;
  // The skip marker holds none of the keywords: no test below would hold.
  if (view == "***") return token;
  auto has = [view](std::string_view text) { return view.find(text) != npos; };
  // The argument runs from after the first blank; with no blank, npos + 1
  // wraps to 0 and the whole token line is the argument.
  auto arg = [view] { return std::string(view.substr(view.find(' ') + 1)); };
  // The returned line; the token line itself unless a test sets it, which
  // spares copying a long token line that is then replaced.
  std::string out;
  bool set = false;
  auto put = [&out, &set](std::string line) {
    out = std::move(line);
    set = true;
  };
  if (has("main")) put("int main() {");
  if (has("statement")) {
    if (view == "/statement") {
      put("} else {");
      lower(indent_depth);
    } else {
      put("***");
      raise(indent_depth);
    }
  }
  if (has("change")) {
    put("***");
    carried_line = "a = n";
  }
  if (has("field")) put(fill_field(token, arg()));
  if (has("value")) put("***");
  if (has("shadow")) put("***");
  if (has("while")) put("while() {");
  if (has("if_else")) {
    put("***");
    carried_line = "if(a = n) {";
  }
  if (has("equal")) put("***");
  if (has("variable")) {
    put("***");
    raise(field_mode);
  }
  if (has("forward") || has("leftturn") || has("rightturn")) {
    put("***");
    carried_line = arg() + " = n";
    field_mode = 2;
  }
  if (has("sum")) {
    put("***");
    field_mode = 3;
  }
  if (has("block sum")) put("action = action + 1");
  // Two returns rather than a conditional, so that either string is moved
  // out instead of copied.
  if (set) return out;
  return token;
}
