// The browser edition's core: the page's Worker has the analysis read a
// file through read_input (in slices of the file, or from bytes it holds)
// and takes back the bytes of its structure.txt.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE  // fopencookie
#endif
#include <emscripten.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "analysis/analysis.h"
#include "input/input.h"

// Reads up to `size` bytes of the file into `buffer`: the count, 0 at its
// end, -1 when it cannot be read (the Worker's readInput).
// clang-format off
EM_JS(int, read_input, (char* buffer, int size), { return Module.readInput(buffer, size); });
// clang-format on

namespace {

// What the last analysis made, held for the page until the next one.
struct Result {
  char* bytes = nullptr;
  std::size_t size = 0;
  std::size_t made = 0;
};
Result last;

ssize_t read_cookie(void*, char* buffer, std::size_t size) {
  return read_input(buffer, static_cast<int>(size));
}

// The stream's state belongs to the Worker: closing it frees nothing here.
int close_cookie(void*) { return 0; }

// Analyses the file and renders its outline into last: tenapi_analyse's
// status.
int analyse_input() {
  auto lines = std::make_unique<tenapi::Outline>();
  cookie_io_functions_t io = {read_cookie, nullptr, nullptr, close_cookie};
  tenapi::InputFile input(fopencookie(nullptr, "rb", io));
  // A stream in memory fails only for want of memory.
  if (!input) return 2;
  tenapi::LineReader reader(input.get());
  tenapi::Analysis analysis = tenapi::analyse(reader, *lines);
  if (!analysis.read) return 1;
  last.made = analysis.made;
  std::FILE* out = open_memstream(&last.bytes, &last.size);
  if (out == nullptr) return 2;
  bool rendered = tenapi::render_outline(out, *lines);
  return std::fclose(out) == 0 && rendered ? 0 : 2;
}

}  // namespace

extern "C" {

// Analyses the file that read_input reads: 0 when its structure.txt is
// ready (tenapi_bytes, tenapi_size, tenapi_made), 1 when the file cannot
// be read to its end, 2 when memory runs out.
EMSCRIPTEN_KEEPALIVE int tenapi_analyse() {
  std::free(last.bytes);
  last = Result();
  int status = 2;
  try {
    status = analyse_input();
  } catch (const std::bad_alloc&) {
    // The input stream and the outline are released by now.
  }
  if (status != 0) {
    std::free(last.bytes);
    last = Result();
  }
  return status;
}

// The bytes of structure.txt, their count, and how many outline lines the
// file gave (more than 198 when the outline was cut, 0 when it has none).
EMSCRIPTEN_KEEPALIVE const char* tenapi_bytes() { return last.bytes; }
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_size() { return last.size; }
EMSCRIPTEN_KEEPALIVE std::size_t tenapi_made() { return last.made; }

}  // extern "C"
