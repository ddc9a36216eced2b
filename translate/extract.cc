#include "translate/extract.h"

#include "translate/pipeline.h"

std::string_view delimited_view(std::string_view line, char open, char close) {
  // A missing opening delimiter is npos, and npos + 1 wraps to 0, so the
  // stretch then starts at the beginning of the line.
  std::string_view::size_type start = line.find(open) + 1;
  // A missing closing delimiter is npos, so the count runs to the end.
  std::string_view::size_type end = line.find(close, start);
  return line.substr(start, end - start);
}

std::string delimited_text(std::string line, char open, char close) {
  return std::string(delimited_view(line, open, close));
}

std::string extract_field(std::string line) {
  std::string_view text = delimited_view(line, '>', '<');
  if (first_field_text.empty()) first_field_text = std::string(text);
  std::string token = "field ";
  token.append(text);
  return token;
}

std::string extract_value(std::string line) {
  std::string token = "value ";
  token.append(delimited_view(line, '"', '"'));
  return token;
}

std::string extract_statement(std::string line) {
  std::string token = "statement ";
  token.append(delimited_view(line, '"', '"'));
  return token;
}

std::string extract_shadow(std::string line) {
  std::string_view type = delimited_view(line, '"', '"');
  std::string token = "***";
  if (type == "mevok_number") token = "shadow number";
  if (type == "mevok_distance_number") token = "shadow distance";
  return token;
}
