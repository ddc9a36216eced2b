#include "utf16/utf16.h"

#include <windows.h>

namespace tenapi {

std::wstring to_utf16(std::string_view text, unsigned code_page) {
  int size = static_cast<int>(text.size());
  int count = MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0);
  if (count <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  // The size was just measured, here and below: the call cannot fall short.
  (void)MultiByteToWideChar(code_page, 0, text.data(), size, &wide[0], count);
  return wide;
}

std::string to_utf8(std::wstring_view wide) {
  int size = static_cast<int>(wide.size());
  int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return std::string();
  std::string text(static_cast<std::size_t>(count), '\0');
  (void)WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &text[0], count, nullptr, nullptr);
  return text;
}

}  // namespace tenapi
