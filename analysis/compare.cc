#include "analysis/compare.h"

#include <string_view>

#include "translate/keywords.h"
#include "translate/lines.h"

namespace tenapi {

namespace {

// A line inserted or removed, where the path leaves (x, y): x is a place in
// the model, y in the other.
struct Edit {
  bool inserted;
  std::size_t x;
  std::size_t y;
};

// The edits of the shortest path through the edit graph of `model` and
// `other` (their first n and m lines), in order.
std::vector<Edit> shortest_edits(const Outline& model, std::size_t n, const Outline& other,
                                 std::size_t m) {
  const auto same = [&](std::size_t x, std::size_t y) {
    return model[x].depth == other[y].depth && model[x].text == other[y].text;
  };
  const long max = static_cast<long>(n + m);
  // v[k + max + 1]: the furthest x on diagonal k; before step d, trace holds
  // the diagonals -d to d of v from d * d on, for the way back.
  std::vector<long> v(2 * static_cast<std::size_t>(max) + 3, 0);
  std::vector<long> trace;
  const auto at = [&](long k) -> long& { return v[static_cast<std::size_t>(k + max + 1)]; };
  long d = 0;
  for (;; ++d) {
    for (long k = -d; k <= d; ++k) trace.push_back(at(k));
    bool reached = false;
    for (long k = -d; k <= d && !reached; k += 2) {
      long x = k == -d || (k != d && at(k - 1) < at(k + 1)) ? at(k + 1) : at(k - 1) + 1;
      long y = x - k;
      while (x < static_cast<long>(n) && y < static_cast<long>(m) &&
             same(static_cast<std::size_t>(x), static_cast<std::size_t>(y))) {
        ++x;
        ++y;
      }
      at(k) = x;
      reached = x >= static_cast<long>(n) && y >= static_cast<long>(m);
    }
    if (reached) break;
  }
  std::vector<Edit> edits(static_cast<std::size_t>(d));
  long x = static_cast<long>(n);
  long y = static_cast<long>(m);
  for (; d > 0; --d) {
    const auto before = [&](long k) { return trace[static_cast<std::size_t>(d * d + k + d)]; };
    const long k = x - y;
    const long from = k == -d || (k != d && before(k - 1) < before(k + 1)) ? k + 1 : k - 1;
    x = before(from);
    y = x - from;
    edits[static_cast<std::size_t>(d - 1)] = {from == k + 1, static_cast<std::size_t>(x),
                                              static_cast<std::size_t>(y)};
  }
  return edits;
}

// The form of each construct's lines, in the order of Construct: a line
// returned whole, or a template's bytes before its operand, between the
// operand and the value, and after the value. A move's operand is its word.
struct Form {
  bool whole;
  std::string_view before;
  std::string_view operand;
  std::string_view between;
  std::string_view after;
};

constexpr Form whole(std::string_view line) { return {true, line, {}, {}, {}}; }

// A template's form, its operand any bytes.
constexpr Form filled(std::string_view line) {
  const std::size_t a = line.find('a');
  const std::size_t n = line.rfind('n');
  return {false, line.substr(0, a), {}, line.substr(a + 1, n - a - 1), line.substr(n + 1)};
}

// A move's form: its word, then the move template.
constexpr Form move(Keyword word) {
  std::size_t bit = 0;
  while ((1u << bit) != word) ++bit;
  const std::string_view line = kMoveTemplate;
  return {false, {}, kKeywords[bit], line.substr(0, line.rfind('n')), {}};
}

constexpr Form kForms[kConstructs] = {
    whole(kMainLine),   whole(kWhileLine),  filled(kIfTemplate), move(kForward),
    move(kLeftturn),    move(kRightturn),   whole(kSumLine),     filled(kChangeTemplate),
};

bool fits(std::string_view text, const Form& form) {
  if (form.whole) return text == form.before;
  const std::size_t least =
      form.before.size() + form.operand.size() + form.between.size() + form.after.size();
  if (text.size() < least || text.substr(0, form.before.size()) != form.before ||
      text.substr(text.size() - form.after.size()) != form.after) {
    return false;
  }
  const std::string_view inner =
      text.substr(form.before.size(), text.size() - form.before.size() - form.after.size());
  if (!form.operand.empty()) {
    return inner.substr(0, form.operand.size()) == form.operand &&
           inner.substr(form.operand.size(), form.between.size()) == form.between;
  }
  return inner.find(form.between) != std::string_view::npos;
}

}  // namespace

std::vector<Change> compare_outlines(const Outline& model, const Outline& other) {
  const std::vector<Edit> edits =
      shortest_edits(model, lines_with_text(model), other, lines_with_text(other));
  std::vector<Change> changes;
  // Each run of edits with no line in common between them: its removals
  // and insertions pair up in order, the rest stay as they are.
  for (std::size_t first = 0; first < edits.size();) {
    std::vector<std::size_t> removed;
    std::vector<std::size_t> inserted;
    const std::size_t x = edits[first].x;
    const std::size_t y = edits[first].y;
    std::size_t last = first;
    for (; last < edits.size() && edits[last].x == x + removed.size() &&
           edits[last].y == y + inserted.size();
         ++last) {
      (edits[last].inserted ? inserted : removed).push_back(edits[last].inserted ? edits[last].y
                                                                                 : edits[last].x);
    }
    const std::size_t pairs = removed.size() < inserted.size() ? removed.size() : inserted.size();
    for (std::size_t i = 0; i < pairs; ++i) {
      changes.push_back({Change::Kind::kChanged, removed[i], inserted[i]});
    }
    for (std::size_t i = pairs; i < removed.size(); ++i) {
      changes.push_back({Change::Kind::kRemoved, removed[i], y + pairs});
    }
    for (std::size_t i = pairs; i < inserted.size(); ++i) {
      changes.push_back({Change::Kind::kInserted, x + pairs, inserted[i]});
    }
    first = last;
  }
  return changes;
}

std::array<std::size_t, kConstructs> constructs_of(const Outline& outline) {
  std::array<std::size_t, kConstructs> counts{};
  for (const OutlineLine& line : outline) {
    for (std::size_t c = 0; c < kConstructs; ++c) {
      if (fits(line.text, kForms[c])) {
        ++counts[c];
        break;
      }
    }
  }
  return counts;
}

}  // namespace tenapi
