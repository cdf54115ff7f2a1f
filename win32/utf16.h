#pragma once

// The program's texts are UTF-8; Windows' wide functions take UTF-16. Converted at the edge.

#include <string>
#include <string_view>

namespace kalvena::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace kalvena::win32
