// Throughput of each pipeline stage, and of the whole per-line pipeline,
// on the lines of a realistic saved program.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_state.h"
#include "translate/classify.h"
#include "translate/extract.h"
#include "translate/pipeline.h"

namespace {

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

// The token lines that the classifier makes of the program's lines.
std::vector<std::string> program_tokens() {
  reset_pipeline();
  std::vector<std::string> tokens;
  for (const std::string& line : program_lines()) tokens.push_back(classify_line(line));
  return tokens;
}

// Counts one pass over `lines` in lines and bytes per second.
void count(benchmark::State& state, const std::vector<std::string>& lines) {
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 1;
  state.SetItemsProcessed(state.iterations() * lines.size());
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_ClassifyLine(benchmark::State& state) {
  const auto& lines = program_lines();
  for (auto _ : state) {
    for (const std::string& line : lines) benchmark::DoNotOptimize(classify_line(line));
  }
  count(state, lines);
}
BENCHMARK(BM_ClassifyLine);

void BM_TagName(benchmark::State& state) {
  const auto& lines = program_lines();
  for (auto _ : state) {
    for (const std::string& line : lines) benchmark::DoNotOptimize(tag_name(line));
  }
  count(state, lines);
}
BENCHMARK(BM_TagName);

void BM_Extractors(benchmark::State& state) {
  const auto& lines = program_lines();
  for (auto _ : state) {
    for (const std::string& line : lines) {
      benchmark::DoNotOptimize(block_kind(line));
      benchmark::DoNotOptimize(extract_field(line));
      benchmark::DoNotOptimize(extract_value(line));
      benchmark::DoNotOptimize(extract_shadow(line));
    }
  }
  count(state, lines);
}
BENCHMARK(BM_Extractors);

void BM_TranslateToken(benchmark::State& state) {
  std::vector<std::string> tokens = program_tokens();
  for (auto _ : state) {
    for (const std::string& token : tokens) {
      benchmark::DoNotOptimize(translate_token(token));
      carried_line.clear();
    }
  }
  count(state, tokens);
}
BENCHMARK(BM_TranslateToken);

void BM_IndentLine(benchmark::State& state) {
  std::vector<std::string> lines = {"int main() {", "forward = 50", "} else {"};
  indent_depth = 3;
  for (auto _ : state) {
    for (const std::string& line : lines) benchmark::DoNotOptimize(indent_line(line));
  }
  count(state, lines);
}
BENCHMARK(BM_IndentLine);

void BM_Pipeline(benchmark::State& state) {
  const auto& lines = program_lines();
  reset_pipeline();
  for (auto _ : state) {
    for (const std::string& line : lines) {
      std::string out = translate_token(classify_line(line));
      if (out == "***") continue;
      benchmark::DoNotOptimize(indent_line(std::move(out)));
      carried_line.clear();
    }
  }
  count(state, lines);
}
BENCHMARK(BM_Pipeline);

// The read loop's way: views of each line, nothing copied but the kept
// outline lines.
void BM_PipelineViews(benchmark::State& state) {
  const auto& lines = program_lines();
  reset_pipeline();
  for (auto _ : state) {
    for (const std::string& line : lines) {
      std::string_view out = translate_view(classify_view(line));
      if (out == "***") continue;
      benchmark::DoNotOptimize(out);
      carried_line.clear();
    }
  }
  count(state, lines);
}
BENCHMARK(BM_PipelineViews);

}  // namespace

BENCHMARK_MAIN();
