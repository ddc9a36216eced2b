#include "translate/pipeline.h"

std::string indent_line(std::string line) {
  // A depth of zero or below indents nothing.
  std::string::size_type units = indent_depth > 0 ? indent_depth : 0;
  std::string out(2 * units, ' ');
  out += line;
  return out;
}
