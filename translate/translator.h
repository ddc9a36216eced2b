// The per-line pipeline and the state it carries from one input line to the
// next: each line is classified, its token line translated, and what it
// yields handed on with the depth to indent it by.
#ifndef TENAPI_TRANSLATE_TRANSLATOR_H_
#define TENAPI_TRANSLATE_TRANSLATOR_H_

#include <string>
#include <string_view>

#include "translate/token.h"

namespace tenapi {

// What the next field token line does; variable blocks move it one up.
// The values are fixed: a variable block moves the mode to the value one up.
enum class FieldMode {
  kByText = 0,            // fills templates by the name, zero and completion rules
  kVariable = 1,          // after a variable block: the first field text for the last "0"
  kMove = 2,              // after a move block: completes the move statement
  kSum = 3,               // after a sum block: fields change nothing
  kSumVariable = 4,       // then a variable block: the next field moves on
  kSumVariableField = 5,  // and a field: the next field moves on
  kSumDone = 6,           // fields change nothing
  kPastSum = 7,           // past the sum modes: as kByText, for good
};

// Turns input lines into outline lines. Each analysis has one of its own,
// made fresh, so its state starts from the beginning of the file.
class Translator {
 public:
  // Runs one input line (without its line end) through the classifier and
  // the translator. True when it yields an outline line: its text is then
  // in `text` (moved there when it is the carried statement, so that a
  // long one is not copied), and `depth` is the nesting depth whose
  // indentation (two blanks a level, none at zero or below) goes before
  // it; the carried line is then empty.
  bool step(std::string_view line, std::string& text, int& depth);

  // Turns a token line into an outline line or "***", updating the state;
  // the result views a literal, the carried line or the token's rest.
  std::string_view translate(TokenView token);

  // The state. Public so that a test can start from any state; in the tool
  // only the two calls above change it.

  // Current nesting depth; raised by statement lines, lowered by closing
  // ones, never past the limits of int.
  int indent_depth = 0;
  // What the next field token line does.
  FieldMode field_mode = FieldMode::kByText;
  // The first non-empty field text of the input; empty until one is met.
  std::string first_field_text;
  // The statement template under construction.
  std::string carried_line;

 private:
  // The field rules of kByText and kPastSum; the outline line.
  std::string_view fill_by_text(TokenView token, std::string_view arg);
  // The field rule chosen by field_mode; the outline line.
  std::string_view fill_field(TokenView token, std::string_view arg);
};

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_TRANSLATOR_H_
