// Building a Windows command line for the child processes the tests start.
#pragma once

#if defined(_WIN32)

#include <windows.h>

#include <string>

namespace testsupport {

// An argument in the code page the child's C runtime reads its command line with.
inline std::wstring WidenArgument(const std::string& s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

// One argument as the C runtime's command-line parser reads it back: backslashes are literal
// unless they come before a quote.
inline std::wstring QuoteArgument(const std::wstring& arg) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

}  // namespace testsupport

#endif
