// The browser edition's core: the page's Worker has the analysis read a
// file through read_input (in slices of the file, or from bytes it holds)
// and takes the bytes of its structure.txt from write_output, a part at a
// time; and has two structure.txt compared, a model and another. Memory running out aborts the module (the page's WebAssembly has no
// exceptions); the Worker catches that and starts afresh.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE  // fopencookie
#endif
#include <emscripten.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/compare.h"
#include "input/input.h"

// Reads up to `size` bytes of the file into `buffer`: the count, 0 at its
// end, -1 when it cannot be read (the Worker's readInput).
// Takes `size` bytes of structure.txt at `bytes` (the Worker's writeOutput).
// clang-format off
EM_JS(int, read_input, (char* buffer, int size), { return Module.readInput(buffer, size); });
EM_JS(void, write_output, (const char* bytes, int size), { Module.writeOutput(bytes, size); });
// clang-format on

namespace {

// What an analysis ended in, by the names the Worker and the page know.
// structure.txt went to write_output whole.
constexpr char kDone[] = "done";
// The file could not be read to its end.
constexpr char kNotRead[] = "not-read";
// The file was read, but gave no outline line: the page offers no save.
constexpr char kNoLine[] = "no-line";
// The file was read, but its structure.txt is more than the page offers.
constexpr char kTooLarge[] = "too-large";
// As kDone, but the program was cut off half-way: its document never closed.
constexpr char kCutOff[] = "cut-off";
// Read back as it is: the file was a structure.txt, whose bytes went to
// write_output.
constexpr char kOutline[] = "outline";
// The file was read, but is no structure.txt.
constexpr char kNotOutline[] = "not-outline";

// The largest structure.txt that the page offers: a tablet's tab holds it
// once, in Blobs of its parts.
constexpr std::uint64_t kLargestOutput = std::uint64_t{512} << 20;
// The size of the parts that structure.txt reaches the Worker in.
constexpr std::size_t kPart = std::size_t{1} << 20;

// Outline lines that the last analysis made, for tenapi_made; the bytes of
// its structure.txt up to its last line with text, for tenapi_body; its
// constructs, for tenapi_construct.
std::size_t last_made = 0;
std::uint64_t last_body = 0;
std::array<std::size_t, tenapi::kConstructs> last_constructs{};
// The model that tenapi_compare compares with.
std::unique_ptr<tenapi::Outline> model;

ssize_t read_cookie(void*, char* buffer, std::size_t size) {
  return read_input(buffer, static_cast<int>(size));
}

// The rendered outline in parts of kPart bytes, so that the Worker copies
// out a few large parts, not thousands of writes.
class Parts : public tenapi::PartSink {
 public:
  Parts() : PartSink(kPart) {}

 private:
  bool put(const char* bytes, std::size_t size) override {
    write_output(bytes, static_cast<int>(size));
    return true;
  }
};

// The stream's state belongs to the Worker: closing it frees nothing here.
int close_input(void*) { return 0; }

// Hands the bytes of `lines` to write_output, or says they are too many.
const char* hand_over(const tenapi::Outline& lines, const char* done) {
  last_body = tenapi::rendered_size(lines, tenapi::lines_with_text(lines));
  last_constructs = tenapi::constructs_of(lines);
  if (tenapi::rendered_size(lines) > kLargestOutput) return kTooLarge;
  Parts parts;
  // Parts takes every write: rendering cannot fail.
  (void)tenapi::render_outline(parts, lines);
  (void)parts.flush();
  return done;
}

// The input, read through read_input; memory running out aborts, so the
// stream is there.
tenapi::InputFile open_input() {
  return tenapi::InputFile(
      fopencookie(nullptr, "rb", {read_cookie, nullptr, nullptr, close_input}));
}

// Reads the input back as a structure.txt into `lines`: kOutline,
// kNotOutline or kNotRead.
const char* read_back(tenapi::Outline& lines) {
  tenapi::InputFile input = open_input();
  tenapi::LineReader reader(input.get());
  if (tenapi::read_outline(reader, lines)) return kOutline;
  return reader.failed() ? kNotRead : kNotOutline;
}

// Analyses the input as a program, or reads it back as a structure.txt.
const char* take_input(bool outline) {
  auto lines = std::make_unique<tenapi::Outline>();
  if (outline) {
    const char* read = read_back(*lines);
    if (read != kOutline) return read;
    // Its outline lines are those up to the last that holds any text.
    last_made = tenapi::lines_with_text(*lines);
    return last_made == 0 ? kNoLine : hand_over(*lines, kOutline);
  }
  tenapi::InputFile input = open_input();
  tenapi::LineReader reader(input.get());
  tenapi::Analysis analysis = tenapi::analyse(reader, *lines);
  if (!analysis.complete) return kNotRead;
  last_made = analysis.made;
  if (analysis.made == 0) return kNoLine;
  return hand_over(*lines, analysis.closed ? kDone : kCutOff);
}

// Hands the two outlines to write_output side by side, a row a line: its
// mark ("=" the same, "-" the model's alone, "+" the other's alone, "~"
// changed), the model's line and the other's, each a field ending in CR LF
// as a line of structure.txt does, so that the Worker cuts them alike.
void put_rows(const tenapi::Outline& other, const std::vector<tenapi::Change>& changes) {
  const std::size_t model_lines = tenapi::lines_with_text(*model);
  const std::size_t other_lines = tenapi::lines_with_text(other);
  std::size_t m = 0;
  std::size_t o = 0;
  // Parts takes every write.
  Parts parts;
  const auto field = [&](const tenapi::OutlineLine* line) {
    if (line != nullptr) (void)tenapi::render_line(parts, *line);
    (void)parts.write("\r\n", 2);
  };
  const auto row = [&](const char* mark, bool in_model, bool in_other) {
    (void)parts.write(mark, 1);
    field(nullptr);
    field(in_model ? &(*model)[m++] : nullptr);
    field(in_other ? &other[o++] : nullptr);
  };
  const auto same_until = [&](std::size_t model_end, std::size_t other_end) {
    while (m < model_end && o < other_end) row("=", true, true);
  };
  for (const tenapi::Change& change : changes) {
    switch (change.kind) {
      case tenapi::Change::Kind::kChanged:
        same_until(change.model, change.other);
        row("~", true, true);
        break;
      case tenapi::Change::Kind::kRemoved:
        same_until(change.model, other_lines);
        row("-", true, false);
        break;
      case tenapi::Change::Kind::kInserted:
        same_until(model_lines, change.other);
        row("+", false, true);
        break;
    }
  }
  same_until(model_lines, other_lines);
  (void)parts.flush();
}

}  // namespace

extern "C" {

// Analyses the file that read_input reads and hands its structure.txt to
// write_output: the name of what it ended in (kDone and the others above).
EMSCRIPTEN_KEEPALIVE const char* tenapi_analyse() {
  last_made = 0;
  return take_input(false);
}

// Reads the file back as a structure.txt, handing its bytes to
// write_output: kOutline, kNotOutline, kNoLine, kNotRead or kTooLarge.
EMSCRIPTEN_KEEPALIVE const char* tenapi_read_outline() {
  last_made = 0;
  return take_input(true);
}

// How many outline lines the file gave (more than tenapi_lines when the
// outline was cut, 0 when it has none), and how many lines structure.txt
// holds.
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_made() { return last_made; }
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_lines() { return tenapi::kOutputLines; }

// The bytes of the last structure.txt handed over, up to its last line with
// text: two outlines are the same where these bytes are.
EMSCRIPTEN_KEEPALIVE double tenapi_body() { return static_cast<double>(last_body); }

// How many lines of the last structure.txt handed over are construct `c`,
// of tenapi_constructs, in the order of tenapi::Construct.
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_constructs() { return tenapi::kConstructs; }
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_construct(std::size_t c) {
  return c < last_constructs.size() ? last_constructs[c] : 0;
}

// Reads the input back as the structure.txt that tenapi_compare compares
// with: kOutline, kNotOutline or kNotRead.
EMSCRIPTEN_KEEPALIVE const char* tenapi_take_model() {
  model = std::make_unique<tenapi::Outline>();
  const char* read = read_back(*model);
  if (read != kOutline) model.reset();
  return read;
}

// The number of lines that differ between the model and the structure.txt
// that the input is, -1 when there is no model, or the input cannot be
// read or is no structure.txt. Where `rows`, hands both to write_output
// side by side (put_rows).
EMSCRIPTEN_KEEPALIVE int tenapi_compare(int rows) {
  auto other = std::make_unique<tenapi::Outline>();
  if (!model || read_back(*other) != kOutline) return -1;
  const std::vector<tenapi::Change> changes = tenapi::compare_outlines(*model, *other);
  if (rows != 0) put_rows(*other, changes);
  return static_cast<int>(changes.size());
}

}  // extern "C"
