// Writes saved programs as the block editor writes them, each different,
// to standard output until at least the given number of MiB: variables,
// moves, assignments, endless loops, if/else with comparisons, sums,
// shadows, <next> chains and nested statements, every block with its id.
// Usage: make_programs MIB [SEED]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::mt19937 rng;

int pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

// A 20-character block id from the editor's alphabet.
std::string id() {
  static const char kChars[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%()*+,-./:;=?@[]^_`{|}~";
  std::string out;
  for (int i = 0; i < 20; ++i) out += kChars[pick(sizeof kChars - 1)];
  return out;
}

struct Writer {
  std::string out;
  std::vector<std::string> vars;
  std::vector<std::string> var_ids;

  void line(int depth, const std::string& text) {
    out += std::string(2 * depth, ' ') + text + "\n";
  }

  // A value input holding a number shadow, sometimes covered by a variable.
  void number(int d, const char* name, bool distance) {
    line(d, std::string("<value name=\"") + name + "\">");
    line(d + 1, std::string("<shadow type=\"") +
                    (distance ? "mevok_distance_number" : "mevok_number") + "\" id=\"" + id() +
                    "\">");
    line(d + 2, "<field name=\"NUM\">" + std::to_string(pick(360)) + "</field>");
    line(d + 1, "</shadow>");
    if (pick(4) == 0) {
      int v = pick(static_cast<int>(vars.size()));
      line(d + 1, "<block type=\"mevok_variable\" id=\"" + id() + "\">");
      line(d + 2, "<field name=\"VAR\" id=\"" + var_ids[v] + "\">" + vars[v] + "</field>");
      line(d + 1, "</block>");
    }
    line(d, "</value>");
  }

  // A chain of `count` statements joined by <next>, nested up to `room` deep.
  void chain(int d, int count, int room) {
    if (count == 0) return;
    int kind = pick(room > 0 ? 7 : 5);
    static const char* kMoves[] = {"mevok_forward", "mevok_leftturn", "mevok_rightturn"};
    if (kind < 3) {
      line(d, std::string("<block type=\"") + kMoves[kind] + "\" id=\"" + id() + "\">");
      number(d + 1, "NUM", kind == 0);
    } else if (kind == 3) {
      int v = pick(static_cast<int>(vars.size()));
      line(d, "<block type=\"mevok_variable_change\" id=\"" + id() + "\">");
      line(d + 1, "<field name=\"VAR\" id=\"" + var_ids[v] + "\">" + vars[v] + "</field>");
      number(d + 1, "NUM", false);
    } else if (kind == 4) {
      line(d, "<block type=\"mevok_sum\" id=\"" + id() + "\">");
      number(d + 1, "A", false);
      number(d + 1, "B", false);
    } else if (kind == 5) {
      line(d, "<block type=\"mevok_while_infinity\" id=\"" + id() + "\">");
      line(d + 1, "<statement name=\"DO\">");
      chain(d + 2, 1 + pick(4), room - 1);
      line(d + 1, "</statement>");
    } else {
      line(d, "<block type=\"mevok_if_else\" id=\"" + id() + "\">");
      line(d + 1, "<value name=\"IF\">");
      line(d + 2, "<block type=\"mevok_equal\" id=\"" + id() + "\">");
      number(d + 3, "A", false);
      number(d + 3, "B", false);
      line(d + 2, "</block>");
      line(d + 1, "</value>");
      for (const char* name : {"DO", "ELSE"}) {
        line(d + 1, std::string("<statement name=\"") + name + "\">");
        chain(d + 2, 1 + pick(3), room - 1);
        line(d + 1, "</statement>");
      }
    }
    if (count > 1) {
      line(d + 1, "<next>");
      chain(d + 2, count - 1, room);
      line(d + 1, "</next>");
    }
    line(d, "</block>");
  }

  void program() {
    static const char* kNames[] = {"x", "count", "steps", "\xe6\xad\xa9\xe6\x95\xb0", "angle", "n"};
    vars.clear();
    var_ids.clear();
    line(0, "<xml xmlns=\"https://developers.google.com/blockly/xml\">");
    line(1, "<variables>");
    for (int i = 0, n = 1 + pick(4); i < n; ++i) {
      vars.push_back(kNames[pick(6)]);
      var_ids.push_back(id());
      line(2, "<variable id=\"" + var_ids.back() + "\">" + vars.back() + "</variable>");
    }
    line(1, "</variables>");
    line(1, "<block type=\"mevok_main\" id=\"" + id() + "\" x=\"" + std::to_string(pick(400)) +
                "\" y=\"" + std::to_string(pick(400)) + "\">");
    line(2, "<statement name=\"DO\">");
    chain(3, 3 + pick(18), 3);
    line(2, "</statement>");
    line(1, "</block>");
    line(0, "</xml>");
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: make_programs MIB [SEED]\n", stderr);
    return 2;
  }
  std::size_t bytes = std::strtoull(argv[1], nullptr, 10) << 20;
  rng.seed(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);
  Writer writer;
  for (std::size_t written = 0; written < bytes;) {
    writer.out.clear();
    writer.program();
    std::fwrite(writer.out.data(), 1, writer.out.size(), stdout);
    written += writer.out.size();
  }
  return 0;
}
