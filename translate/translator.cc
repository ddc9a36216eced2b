#include "translate/translator.h"

#include <climits>

#include "translate/classify.h"
#include "translate/keywords.h"
#include "translate/lines.h"

namespace tenapi {

namespace {

constexpr std::string::size_type npos = std::string::npos;

// Adds one to a depth without overflowing: a depth this large is already
// far outside anything an editor writes, and the sign must not flip.
void one_deeper(int& depth) {
  if (depth < INT_MAX) ++depth;
}

// Subtracts one from a depth without overflowing.
void one_shallower(int& depth) {
  if (depth > INT_MIN) --depth;
}

// The mode one up, as a variable block or a sum mode's field moves it;
// kPastSum stays.
FieldMode next_mode(FieldMode mode) {
  if (mode == FieldMode::kPastSum) return mode;
  return static_cast<FieldMode>(static_cast<int>(mode) + 1);
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

}  // namespace

std::string_view Translator::fill_by_text(TokenView token, std::string_view arg) {
  const std::string& first = first_field_text;
  std::string& line = carried_line;
  if (contains(token.head, token.rest, first)) {
    if (line.find(first) != npos) {
      fill_value(line, arg);
    } else {
      fill_first_a(line, arg);
    }
    return kSkipMarker;
  }
  if (contains(token.head, token.rest, "0")) {
    if (line == kChangeTemplate) {
      fill_first_a(line, arg);
    } else {
      // The left operand of "if(a = n) {": between the "(" and the blank.
      std::string::size_type open = line.find('(');
      std::string::size_type blank = line.find(' ');
      if (open != npos && blank != npos && blank > open) {
        replace_at(line, open + 1, blank - open - 1, arg);
      }
    }
    return kSkipMarker;
  }
  // Completion: the byte after the last F and the three bytes " = ".
  std::string::size_type last = line.rfind(first);
  if (last != npos) replace_at(line, last + first.size() + 3, 1, arg);
  return line;
}

std::string_view Translator::fill_field(TokenView token, std::string_view arg) {
  switch (field_mode) {
    case FieldMode::kVariable: {
      std::string::size_type zero = carried_line.rfind('0');
      if (zero != npos) carried_line.replace(zero, 1, first_field_text);
      field_mode = FieldMode::kByText;
      return kSkipMarker;
    }
    case FieldMode::kMove:
      fill_value(carried_line, arg);
      field_mode = FieldMode::kByText;
      return carried_line;
    case FieldMode::kSum:
    case FieldMode::kSumDone:
      return kSkipMarker;
    case FieldMode::kSumVariable:
    case FieldMode::kSumVariableField:
      field_mode = next_mode(field_mode);
      return kSkipMarker;
    default:
      return fill_by_text(token, arg);
  }
}

std::string_view Translator::translate(TokenView token) {
  const unsigned found = token.keywords;
  // Without a keyword no test holds, and the token line comes back as it
  // is. The classifier makes only one such line, the skip marker; every
  // token line with a head holds that head's keyword.
  if (found == 0) return token.rest;
  auto has = [found](Keyword keyword) { return (found & keyword) != 0; };
  // The argument runs from after the first blank. A head ends with that
  // blank; without a head and without a blank, npos + 1 wraps to 0 and the
  // whole token line is the argument.
  std::string_view arg =
      token.head.empty() ? token.rest.substr(token.rest.find(' ') + 1) : token.rest;

  // Every test whose condition holds runs, in order; the last one that
  // sets the returned line decides it. Each keyword's test sets it.
  std::string_view out;
  if (has(kMain)) out = kMainLine;
  if (has(kStatement)) {
    // Exactly "/statement": no head is the start of it.
    if (token.head.empty() && token.rest == "/statement") {
      out = kClosingLine;
      one_shallower(indent_depth);
    } else {
      out = kSkipMarker;
      one_deeper(indent_depth);
    }
  }
  if (has(kChange)) {
    out = kSkipMarker;
    carried_line = kChangeTemplate;
  }
  if (has(kField)) out = fill_field(token, arg);
  if (has(kValue)) out = kSkipMarker;
  if (has(kShadow)) out = kSkipMarker;
  if (has(kWhile)) out = kWhileLine;
  if (has(kIfElse)) {
    out = kSkipMarker;
    carried_line = kIfTemplate;
  }
  if (has(kEqual)) out = kSkipMarker;
  if (has(kVariable)) {
    out = kSkipMarker;
    field_mode = next_mode(field_mode);
  }
  if (has(kForward) || has(kLeftturn) || has(kRightturn)) {
    out = kSkipMarker;
    carried_line.assign(arg).append(kMoveTemplate);
    field_mode = FieldMode::kMove;
  }
  if (has(kSum)) {
    out = kSkipMarker;
    field_mode = FieldMode::kSum;
  }
  if (has(kBlockSum)) out = kSumLine;
  return out;
}

bool Translator::step(std::string_view line, std::string& text, int& depth) {
  TokenView token = classify(line);
  // The first non-empty field text is recorded before its own token line
  // is translated, which may already use it.
  if (first_field_text.empty() && token.head == "field ") first_field_text = token.rest;
  std::string_view out = translate(token);
  if (out == kSkipMarker) return false;
  // The carried line is emptied after every outline line; a statement
  // returned from it moves out instead of being copied.
  if (out.data() == carried_line.data()) {
    text.swap(carried_line);
  } else {
    text.assign(out);
  }
  carried_line.clear();
  depth = indent_depth;
  return true;
}

}  // namespace tenapi
