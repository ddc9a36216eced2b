// Two outlines side by side: the lines that differ, and which constructs
// an outline is made of. Each outline counts up to its last line with
// text; the blank tail after it never differs.
#ifndef TENAPI_ANALYSIS_COMPARE_H_
#define TENAPI_ANALYSIS_COMPARE_H_

#include <array>
#include <cstddef>
#include <vector>

#include "analysis/outline.h"

namespace tenapi {

// One line that differs, by its index in each outline. A changed line is
// at `model` in the model and at `other` in the other. An inserted one is
// at `other` and comes before the model's line `model`; a removed one is
// at `model` and comes before the other's line `other`.
struct Change {
  enum class Kind { kInserted, kRemoved, kChanged };
  Kind kind;
  std::size_t model;
  std::size_t other;
};

// The fewest lines inserted and removed that make `model` into `other`, in
// order, a line being its depth and its text; a removal and an insertion
// at one place pair up as a change. Myers' O(ND) difference.
std::vector<Change> compare_outlines(const Outline& model, const Outline& other);

// The constructs, in the order that the page shows them.
enum class Construct { kMain, kWhile, kIf, kForward, kLeftturn, kRightturn, kSum, kAssignment };
constexpr std::size_t kConstructs = 8;

// How many lines of `outline` are each construct, by Construct: each line
// is the first whose form it has, so a move is no assignment.
std::array<std::size_t, kConstructs> constructs_of(const Outline& outline);

}  // namespace tenapi

#endif  // TENAPI_ANALYSIS_COMPARE_H_
