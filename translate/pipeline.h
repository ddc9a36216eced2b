// The three stages that turn one input line into one outline line, and the
// process-wide state they share. The state lives for the whole process and
// is never reset: a second analysis in the same run continues from it.
#ifndef TENAPI_TRANSLATE_PIPELINE_H_
#define TENAPI_TRANSLATE_PIPELINE_H_

#include <string>
#include <string_view>

// Current nesting depth; raised by statement lines, lowered by closing ones.
extern int indent_depth;

// The first non-empty field text of the input; empty until one is met.
extern std::string first_field_text;

// The statement template under construction; emptied after each stored line.
extern std::string carried_line;

// Turns an input line (without its line end) into a token line or "***".
std::string classify_line(std::string line);

// Turns a token line into an outline line or "***", updating the state.
std::string translate_token(std::string token);

// Puts two blanks per level of indent_depth in front of the line.
std::string indent_line(std::string line);

// A token line held without a copy: `head` is empty or a keyword and its
// blank, and `rest` runs to the end of the token line. Both view a literal
// or the input line. `keywords` holds the translator's keywords that the
// token line contains (translate/keywords.h), found by whoever made it.
struct TokenView {
  std::string_view head;
  std::string_view rest;
  unsigned keywords;
};

// classify_line without copies: the token line as views into `line`.
TokenView classify_view(std::string_view line);

// translate_token without copies: the returned line views a literal,
// carried_line, or the token's rest. Trusts the token's keywords.
std::string_view translate_view(TokenView token);

#endif  // TENAPI_TRANSLATE_PIPELINE_H_
