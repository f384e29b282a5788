// Code-page conversion with the C library's multibyte functions under the thread's locale.
#include <array>
#include <climits>
#include <cwchar>

#include "platform/Text.h"

namespace plat {

std::wstring NarrowToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::mbstate_t state{};
    size_t i = 0;
    while (i < text.size()) {
        wchar_t wc = 0;
        const size_t n = std::mbrtowc(&wc, text.data() + i, text.size() - i, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
            // Invalid or cut-off sequence: keep the byte as the character of the same number.
            out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
            state = std::mbstate_t{};
            ++i;
        } else if (n == 0) {
            out.push_back(L'\0');
            ++i;
        } else {
            out.push_back(wc);
            i += n;
        }
    }
    return out;
}

bool NarrowToWideExact(std::string_view text, std::wstring* out, size_t* bad) {
    std::wstring wide;
    wide.reserve(text.size());
    std::mbstate_t state{};
    for (size_t i = 0; i < text.size();) {
        wchar_t wc = 0;
        const size_t n = std::mbrtowc(&wc, text.data() + i, text.size() - i, &state);
        if (n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
            *bad = i;
            return false;
        }
        wide.push_back(n == 0 ? L'\0' : wc);
        i += n == 0 ? 1 : n;
    }
    *out = std::move(wide);
    return true;
}

std::string WideToNarrow(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    std::mbstate_t state{};
    std::array<char, MB_LEN_MAX> buf{};
    for (const wchar_t wc : text) {
        const size_t n = std::wcrtomb(buf.data(), wc, &state);
        if (n == static_cast<size_t>(-1)) {
            out.push_back('?');
            state = std::mbstate_t{};
        } else {
            out.append(buf.data(), n);
        }
    }
    // Return a shift-state encoding to its initial state; the terminator itself is dropped.
    const size_t n = std::wcrtomb(buf.data(), L'\0', &state);
    if (n != static_cast<size_t>(-1) && n > 1) out.append(buf.data(), n - 1);
    return out;
}

}  // namespace plat
