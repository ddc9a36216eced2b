// Text between the bytes the program holds (UTF-8, or a Windows code page)
// and the UTF-16 that the Windows API takes. Built on Windows only.
#ifndef TENAPI_UTF16_UTF16_H_
#define TENAPI_UTF16_UTF16_H_

#include <string>
#include <string_view>

namespace tenapi {

// `text` in code page `code_page` (CP_UTF8 for UTF-8) as UTF-16; invalid
// bytes become U+FFFD or the like, so a name that holds them never opens.
std::wstring to_utf16(std::string_view text, unsigned code_page);

// UTF-16 as UTF-8.
std::string to_utf8(std::wstring_view wide);

}  // namespace tenapi

#endif  // TENAPI_UTF16_UTF16_H_
