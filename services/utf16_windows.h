// Windows speaks UTF-16; the program's texts and paths are UTF-8. Only the
// Windows sides of the services include this, also for the facts of Windows
// they share.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace svc {

// A UTF-8 text as Windows takes it; bytes that are no UTF-8 become U+FFFD.
inline std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

// A text from Windows in UTF-8.
inline std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

inline bool IsWindowsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// FILETIME counts 100-nanosecond steps.
inline constexpr ULONGLONG kFileTimeSecond = 10000000;

}  // namespace svc
