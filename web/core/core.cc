// The browser edition's core: the page's Worker has the analysis read a
// file through read_input (in slices of the file, or from bytes it holds)
// and takes the bytes of its structure.txt from write_output, a part at a
// time. Memory running out aborts the module (the page's WebAssembly has no
// exceptions); the Worker catches that and starts afresh.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE  // fopencookie
#endif
#include <emscripten.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "analysis/analysis.h"
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

// Outline lines that the last analysis made, for tenapi_made.
std::size_t last_made = 0;

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
  if (tenapi::rendered_size(lines) > kLargestOutput) return kTooLarge;
  Parts parts;
  // Parts takes every write: rendering cannot fail.
  (void)tenapi::render_outline(parts, lines);
  (void)parts.flush();
  return done;
}

// Analyses the input as a program, or reads it back as a structure.txt.
const char* take_input(bool outline) {
  auto lines = std::make_unique<tenapi::Outline>();
  // Memory running out aborts, so the stream is there.
  tenapi::InputFile input(fopencookie(nullptr, "rb", {read_cookie, nullptr, nullptr, close_input}));
  tenapi::LineReader reader(input.get());
  if (outline) {
    if (!tenapi::read_outline(reader, *lines)) return reader.failed() ? kNotRead : kNotOutline;
    // Its outline lines are those up to the last that holds any text.
    for (std::size_t i = 0; i < lines->size(); ++i) {
      if (!(*lines)[i].text.empty()) last_made = i + 1;
    }
    return last_made == 0 ? kNoLine : hand_over(*lines, kOutline);
  }
  tenapi::Analysis analysis = tenapi::analyse(reader, *lines);
  if (!analysis.complete) return kNotRead;
  last_made = analysis.made;
  if (analysis.made == 0) return kNoLine;
  return hand_over(*lines, analysis.closed ? kDone : kCutOff);
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

}  // extern "C"
