// Throughput of each pipeline stage, and of the whole per-line pipeline,
// on the lines of a realistic saved program.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "translate/classify.h"
#include "translate/extract.h"
#include "translate/translator.h"

namespace {

using namespace tenapi;

// The lines of the example program, as the line reader delivers them.
const std::vector<std::string>& program_lines() {
  static const std::vector<std::string> lines = [] {
    std::ifstream in(TENAPI_EXAMPLES "/square.xml", std::ios::binary);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }();
  return lines;
}

// Counts one pass over `lines` in lines and bytes per second.
void count(benchmark::State& state, const std::vector<std::string>& lines) {
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 1;
  state.SetItemsProcessed(state.iterations() * lines.size());
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_Classify(benchmark::State& state) {
  const auto& lines = program_lines();
  for (auto _ : state) {
    for (const std::string& line : lines) benchmark::DoNotOptimize(classify(line));
  }
  count(state, lines);
}
BENCHMARK(BM_Classify);

void BM_ElementName(benchmark::State& state) {
  const auto& lines = program_lines();
  for (auto _ : state) {
    for (const std::string& line : lines) benchmark::DoNotOptimize(element_name(line, 0));
  }
  count(state, lines);
}
BENCHMARK(BM_ElementName);

void BM_Extractors(benchmark::State& state) {
  const auto& lines = program_lines();
  for (auto _ : state) {
    for (const std::string& line : lines) {
      benchmark::DoNotOptimize(block_token(line, 0));
      benchmark::DoNotOptimize(field_token(line, 0));
      benchmark::DoNotOptimize(value_token(line, 0));
      benchmark::DoNotOptimize(shadow_token(line, 0));
    }
  }
  count(state, lines);
}
BENCHMARK(BM_Extractors);

void BM_Translate(benchmark::State& state) {
  const auto& lines = program_lines();
  std::vector<TokenView> tokens;
  for (const std::string& line : lines) tokens.push_back(classify(line));
  Translator translator;
  for (auto _ : state) {
    for (const TokenView& token : tokens) {
      benchmark::DoNotOptimize(translator.translate(token));
      translator.carried_line.clear();
    }
  }
  count(state, lines);
}
BENCHMARK(BM_Translate);

// The read loop's way: one step per line.
void BM_Pipeline(benchmark::State& state) {
  const auto& lines = program_lines();
  Translator translator;
  std::string text;
  int depth = 0;
  for (auto _ : state) {
    for (const std::string& line : lines) {
      benchmark::DoNotOptimize(translator.step(line, text, depth));
    }
  }
  count(state, lines);
}
BENCHMARK(BM_Pipeline);

}  // namespace

BENCHMARK_MAIN();
