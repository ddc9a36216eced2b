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

const char* analyse_input() {
  auto lines = std::make_unique<tenapi::Outline>();
  // Memory running out aborts, so the stream is there.
  tenapi::InputFile input(fopencookie(nullptr, "rb", {read_cookie, nullptr, nullptr, close_input}));
  tenapi::LineReader reader(input.get());
  tenapi::Analysis analysis = tenapi::analyse(reader, *lines);
  if (!analysis.complete) return kNotRead;
  last_made = analysis.made;
  if (analysis.made == 0) return kNoLine;
  if (tenapi::rendered_size(*lines) > kLargestOutput) return kTooLarge;
  Parts parts;
  // Parts takes every write: rendering cannot fail.
  (void)tenapi::render_outline(parts, *lines);
  (void)parts.flush();
  return kDone;
}

}  // namespace

extern "C" {

// Analyses the file that read_input reads and hands its structure.txt to
// write_output: the name of what it ended in (kDone and the others above).
EMSCRIPTEN_KEEPALIVE const char* tenapi_analyse() {
  last_made = 0;
  return analyse_input();
}

// How many outline lines the file gave (more than tenapi_lines when the
// outline was cut, 0 when it has none), and how many lines structure.txt
// holds.
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_made() { return last_made; }
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_lines() { return tenapi::kOutputLines; }

}  // extern "C"
