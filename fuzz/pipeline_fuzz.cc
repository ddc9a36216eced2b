// libFuzzer target: arbitrary bytes as an input file, through the line
// reader and the whole per-line pipeline with the state carried from line
// to line (the read loop's views against the string stages), and as a
// typed path through output_path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/line_reader.h"
#include "app/read_loop.h"
#include "output/output.h"
#include "tests/test_state.h"
#include "translate/pipeline.h"

namespace {

// Aborts (a finding) when a stated property does not hold.
void check(bool holds) {
  if (!holds) std::abort();
}

bool starts_with(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A token line has one of the forms the translator expects.
bool is_token_line(const std::string& token) {
  static const char* const kExact[] = {
      "***",           "/statement",     "block main",      "block change",
      "block while",   "block if_else",  "block equal",     "block variable",
      "block forward", "block leftturn", "block rightturn", "block sum",
      "shadow number", "shadow distance"};
  for (const char* exact : kExact) {
    if (token == exact) return true;
  }
  return starts_with(token, "statement ") || starts_with(token, "field ") ||
         starts_with(token, "value ");
}

// Each line by hand, checking every stage's result as it goes.
void run_stages(const std::string& bytes) {
  std::size_t start = 0;
  while (start <= bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string token = classify_line(bytes.substr(start, end - start));
    check(is_token_line(token));
    std::string line = translate_token(token);
    if (line != "***") {
      std::size_t depth = indent_depth > 0 ? indent_depth : 0;
      std::string indented = indent_line(line);
      check(indented.size() == line.size() + 2 * depth);
      check(indented.compare(2 * depth, std::string::npos, line) == 0);
      carried_line.clear();
    }
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);

  // As a typed path: the folder part up to the last backslash is kept.
  std::string out = tenapi::output_path(bytes);
  std::size_t cut = bytes.rfind('\\') + 1;
  check(out == bytes.substr(0, cut) + "structure.txt");

  // As an input file through the real read loop, which works on views of
  // each line; then the same lines through the stages that take and return
  // strings. Both must store the same outline.
  if (size > 0) {
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file != nullptr) {
      // One buffer for every run, emptied after each.
      static tenapi::LineBuffer* lines = new tenapi::LineBuffer();
      reset_pipeline();
      std::size_t kept = tenapi::read_lines(file, *lines);
      reset_pipeline();
      std::rewind(file);
      LineReader* reader = new LineReader;
      reader->file = file;
      std::size_t stored = 0;
      for (std::string_view line; next_line(*reader, line);) {
        std::string out = translate_token(classify_line(std::string(line)));
        if (out == "***") continue;
        if (stored < lines->size()) {
          const tenapi::OutlineLine& entry = (*lines)[stored];
          std::size_t depth = entry.depth > 0 ? entry.depth : 0;
          check(indent_line(out) == std::string(2 * depth, ' ') + entry.text);
        }
        ++stored;
        carried_line.clear();
      }
      delete reader;
      std::fclose(file);
      check(stored == kept);
      for (std::size_t i = 0; i < lines->size(); ++i) {
        check(i < kept || (*lines)[i].text.empty());
        (*lines)[i] = tenapi::OutlineLine();
      }
    }
  }

  reset_pipeline();
  run_stages(bytes);
  return 0;
}
