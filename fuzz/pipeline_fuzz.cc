// libFuzzer target: arbitrary bytes as an input file through the line
// reader, whose lines must be those of a plain cut, and the translator, in
// which every token line must have one of its forms and every outline line
// must leave the carried line empty; then through the whole analysis and the
// rendering, whose bytes must be 198 CR LF lines, the first of them those
// outline lines. The bytes also serve as a typed path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "analysis/analysis.h"
#include "input/line_reader.h"
#include "output/output.h"
#include "translate/classify.h"
#include "translate/translator.h"

namespace {

using namespace tenapi;

// Aborts (a finding) when a stated property does not hold.
void check(bool holds) {
  if (!holds) std::abort();
}

// A token line has one of the forms the translator expects: a fixed line,
// or a keyword head with any argument.
bool is_token_line(TokenView token) {
  if (token.head.empty()) return token.rest == "***" || token.rest == "/statement";
  if (token.head == "statement " || token.head == "field " || token.head == "value ") return true;
  static const std::string_view kFixed[] = {"block main",    "block change",   "block while",
                                            "block if_else", "block equal",    "block variable",
                                            "block forward", "block leftturn", "block rightturn",
                                            "block sum",     "shadow number",  "shadow distance"};
  for (std::string_view fixed : kFixed) {
    if (fixed.substr(0, token.head.size()) == token.head &&
        fixed.substr(token.head.size()) == token.rest) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // As a typed path (paths are short): the folder part up to the last
  // backslash is kept.
  if (size <= 1024) {
    check(output_path(std::string(bytes)) ==
          std::string(bytes.substr(0, bytes.rfind('\\') + 1)) + "structure.txt");
  }
  if (size == 0) return 0;

  // The lines cut plainly: they end at LF, a CR before it is dropped, and
  // the first 0x1A ends the input. Cut one at a time, as the reader goes.
  const std::string_view text = bytes.substr(0, bytes.find('\x1a'));
  std::size_t start = 0;
  auto plain = [&](std::string_view& line) {
    if (start >= text.size()) return false;
    std::size_t end = text.find('\n', start);
    bool has_lf = end != std::string_view::npos;
    if (!has_lf) end = text.size();
    line = text.substr(start, end - start);
    if (has_lf && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    return true;
  };

  // The line reader, with a buffer of 256 bytes so that lines run across
  // its ends and are gathered, must cut the same lines; each goes
  // through the translator as the read loop takes it.
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (file == nullptr) return 0;
  LineReader reader(file, 256);
  Translator translator;
  std::string outline_line, rendered;
  int depth = 0;
  std::size_t made = 0;
  for (std::string_view line, want; reader.next(line);) {
    check(plain(want) && line == want);
    check(is_token_line(classify(line)));
    if (translator.step(line, outline_line, depth)) {
      check(depth == translator.indent_depth && translator.carried_line.empty());
      // The first lines of the file as rendered, indentation written out.
      if (made++ < kOutputLines) {
        rendered.append(2 * static_cast<std::size_t>(depth > 0 ? depth : 0), ' ');
        rendered += outline_line + "\r\n";
      }
    }
  }
  std::string_view more;
  check(!plain(more) && !reader.failed());

  // The whole analysis, rendered into memory, through a small reader too:
  // a default one would allocate 256 KiB for every input. The same stream
  // from its start: opening another costs more than the analysis.
  std::rewind(file);
  struct : Sink {
    bool write(const char* bytes, std::size_t size) override {
      text.append(bytes, size);
      return true;
    }
    std::string text;
  } out;
  LineReader whole(file, 256);
  auto lines = std::make_unique<Outline>();
  Analysis analysis = analyse(whole, *lines);
  // Room for all of it at once: grown write by write, the string cost
  // the fuzzer about a twentieth of its inputs a second.
  out.text.reserve(rendered_size(*lines));
  check(analysis.complete && analysis.made == made && render_outline(out, *lines));
  std::fclose(file);
  std::string_view result(out.text);
  check(result.size() == rendered_size(*lines));
  std::size_t crlf = 0;
  for (std::size_t at = 0; (at = result.find('\n', at)) != result.npos; ++at) {
    check(at > 0 && result[at - 1] == '\r');
    ++crlf;
  }
  check(crlf == kOutputLines && result.back() == '\n');
  check(result.substr(0, rendered.size()) == rendered);
  return 0;
}
