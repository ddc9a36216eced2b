// The outline's own texts, which the translator writes and the constructs
// of an outline are told by: the lines returned whole, the templates whose
// placeholders the field lines fill ("a" the left operand, "n" the value),
// and the marker of an input line that yields none.
#ifndef TENAPI_TRANSLATE_LINES_H_
#define TENAPI_TRANSLATE_LINES_H_

#include <string_view>

namespace tenapi {

inline constexpr std::string_view kSkipMarker = "***";
inline constexpr std::string_view kMainLine = "int main() {";
inline constexpr std::string_view kClosingLine = "} else {";
inline constexpr std::string_view kWhileLine = "while() {";
inline constexpr std::string_view kSumLine = "action = action + 1";
inline constexpr std::string_view kChangeTemplate = "a = n";
inline constexpr std::string_view kIfTemplate = "if(a = n) {";
// Follows a move word ("forward", "leftturn", "rightturn"), its operand.
inline constexpr std::string_view kMoveTemplate = " = n";

}  // namespace tenapi

#endif  // TENAPI_TRANSLATE_LINES_H_
