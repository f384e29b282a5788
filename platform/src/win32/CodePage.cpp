// Code-page conversion with the calling thread's ANSI code page, through the system's converters.
#include <windows.h>

#include <climits>

#include "platform/Text.h"

namespace plat {

namespace {

// The longest character of any ANSI code page, in bytes (UTF-8 and GB18030 take four).
constexpr int kMaxCharBytes = 4;
// Longer texts go the character-by-character way, as the converters count in int.
constexpr size_t kMaxWholeText = INT_MAX / 4;

// The number behind CP_THREAD_ACP, which follows the thread's locale.
UINT ThreadCodePage() {
    CPINFOEXW info{};
    return GetCPInfoExW(CP_THREAD_ACP, 0, &info) ? info.CodePage : GetACP();
}

// The shortest sequence at `i` that converts: its length in bytes, with its characters in
// `chars` and their number in `made`; 0 when no sequence there converts.
int ConvertAt(UINT codePage, std::string_view text, size_t i, wchar_t* chars, int* made) {
    for (int length = 1; length <= kMaxCharBytes && i + length <= text.size(); ++length) {
        *made = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data() + i, length, chars,
                                    kMaxCharBytes);
        if (*made > 0) return length;
    }
    return 0;
}

}  // namespace

std::wstring NarrowToWide(std::string_view text) {
    if (text.empty()) return {};
    const UINT codePage = ThreadCodePage();
    if (text.size() <= kMaxWholeText) {
        const int bytes = static_cast<int>(text.size());
        const int chars =
            MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), bytes, nullptr, 0);
        if (chars > 0) {
            std::wstring out(static_cast<size_t>(chars), L'\0');
            MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), bytes, out.data(),
                                chars);
            return out;
        }
    }
    // Some byte does not convert: take the shortest sequence that does at each place, and keep
    // a byte that starts none as the character of the same number.
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        wchar_t chars[kMaxCharBytes];
        int made = 0;
        const int taken = ConvertAt(codePage, text, i, chars, &made);
        if (taken > 0) {
            out.append(chars, static_cast<size_t>(made));
            i += static_cast<size_t>(taken);
        } else {
            out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
            ++i;
        }
    }
    return out;
}

bool NarrowToWideExact(std::string_view text, std::wstring* out, size_t* bad) {
    const UINT codePage = ThreadCodePage();
    std::wstring wide;
    wide.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        wchar_t chars[kMaxCharBytes];
        int made = 0;
        const int taken = ConvertAt(codePage, text, i, chars, &made);
        if (taken == 0) {
            *bad = i;
            return false;
        }
        wide.append(chars, static_cast<size_t>(made));
        i += static_cast<size_t>(taken);
    }
    *out = std::move(wide);
    return true;
}

std::string WideToNarrow(std::wstring_view text) {
    if (text.empty()) return {};
    const UINT codePage = ThreadCodePage();
    // UTF-8 takes neither a default character nor the best-fit flag; it refuses a lone surrogate.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const char* const defaultChar = utf8 ? nullptr : "?";
    if (text.size() <= kMaxWholeText) {
        const int chars = static_cast<int>(text.size());
        BOOL replaced = FALSE;
        BOOL* const replacedOut = utf8 ? nullptr : &replaced;
        const int bytes = WideCharToMultiByte(codePage, flags, text.data(), chars, nullptr, 0,
                                              defaultChar, replacedOut);
        if (bytes > 0) {
            std::string out(static_cast<size_t>(bytes), '\0');
            WideCharToMultiByte(codePage, flags, text.data(), chars, out.data(), bytes, defaultChar,
                                replacedOut);
            return out;
        }
    }
    // One character (or surrogate pair) at a time; what does not convert becomes '?'.
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        int units = 1;
        if (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]))
            units = 2;
        char bytes[kMaxCharBytes * 2];
        const int made = WideCharToMultiByte(codePage, flags, text.data() + i, units, bytes,
                                             sizeof bytes, defaultChar, nullptr);
        if (made > 0)
            out.append(bytes, static_cast<size_t>(made));
        else
            out.push_back('?');
        i += static_cast<size_t>(units);
    }
    return out;
}

}  // namespace plat
