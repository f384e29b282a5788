// The host on Windows: binary standard streams, the profile under the user's application data,
// the system's library loader, and pictures of the host's own windows through GDI. The only host
// source that takes <windows.h> together with host headers; the ui headers never come in here (the
// platform's macros rename SendMessage, GetWindowText and others).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "HostPlatform.h"

namespace host {

const char* const kDefaultProfileHelp =
    "%APPDATA%\\ambrel\\profile.db, a key of the registry named after it";

void UseBinaryStandardStreams() {
    // The C runtime would otherwise turn "\n" into "\r\n" on output and back on input. A
    // console keeps text mode, where Ctrl+Z ends the input.
    if (!StandardInputIsTerminal()) _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool StandardInputIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

void CatchEndSignals() {}

int EndSignal() {
    return 0;
}

void EndBySignal(int) {}

namespace {

constexpr char kEndOfInput = '\x1a';

// Standard input read a line at a time on a thread of its own, so that the window thread can
// wait for a line and for window messages at once.
class InputLines {
public:
    InputLines() : m_ready(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        std::thread([this] {
            std::string line;
            while (std::getline(std::cin, line)) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                // Ctrl+Z at the start of a line ends a console's input.
                if (line.rfind(kEndOfInput, 0) == 0) break;
                std::lock_guard lock(m_mutex);
                m_lines.push_back(std::move(line));
                SetEvent(m_ready);
            }
            std::lock_guard lock(m_mutex);
            m_ended = true;
            SetEvent(m_ready);
        }).detach();
    }

    bool Next(std::string* line, const std::function<void()>& pump) {
        for (;;) {
            {
                std::lock_guard lock(m_mutex);
                if (!m_lines.empty()) {
                    *line = std::move(m_lines.front());
                    m_lines.pop_front();
                    return true;
                }
                if (m_ended) return false;
            }
            // The event is reset by the wait that sees it; a line that came after the check
            // above has set it again.
            const DWORD woken = MsgWaitForMultipleObjectsEx(1, &m_ready, INFINITE, QS_ALLINPUT,
                                                            MWMO_INPUTAVAILABLE);
            if (woken == WAIT_OBJECT_0 + 1)
                pump();
            else if (woken != WAIT_OBJECT_0)
                return false;
        }
    }

private:
    HANDLE m_ready;
    std::mutex m_mutex;
    std::deque<std::string> m_lines;
    bool m_ended = false;
};

}  // namespace

bool ReadInputLine(std::string* line, const std::function<void()>& pump) {
    // Never destroyed: its thread may still be blocked in a read when the program ends.
    static InputLines* const lines = new InputLines;
    return lines->Next(line, pump);
}

bool DefaultProfilePath(std::string* path, std::string* error) {
    const char* appData = std::getenv("APPDATA");
    if (appData && *appData) {
        *path = (std::filesystem::path(appData) / "ambrel" / "profile.db").string();
        return true;
    }
    const char* profile = std::getenv("USERPROFILE");
    if (profile && *profile) {
        *path = (std::filesystem::path(profile) / "AppData" / "Roaming" / "ambrel" / "profile.db")
                    .string();
        return true;
    }
    *error = "no place for the profile: set APPDATA or USERPROFILE, or give --profile FILE";
    return false;
}

void* OpenLibrary(const std::string& path, std::string* why) {
    const HMODULE library = LoadLibraryW(std::filesystem::path(path).wstring().c_str());
    if (!library) *why = "the loader failed with error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(library);
}

void* FindExport(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library) {
    FreeLibrary(static_cast<HMODULE>(library));
}

std::filesystem::path ExecutableFile() {
    // Long paths: grow the buffer until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::filesystem::path(buffer.substr(0, length));
        buffer.resize(buffer.size() * 2);
    }
}

bool IsAddress(std::intptr_t value) {
    if (value < INT32_MIN || value > INT32_MAX) return true;
    // Heaps may lie below 4 GiB here; the lowest 64 KiB are never mapped, so small numbers are
    // never taken for addresses.
    constexpr std::intptr_t kLowestAddress = 0x10000;
    if (value < kLowestAddress) return false;
    MEMORY_BASIC_INFORMATION info{};
    return VirtualQuery(reinterpret_cast<const void*>(value), &info, sizeof info) == sizeof info &&
           info.State == MEM_COMMIT && info.Type == MEM_PRIVATE;
}

namespace {

struct WindowSearch {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    if (!IsWindowVisible(hwnd) || text != search->title) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

bool CaptureOwnWindow(std::wstring_view title, Picture* picture) {
    WindowSearch search{std::wstring(title)};
    EnumThreadWindows(GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&search));
    const HWND hwnd = search.found;
    if (!hwnd) return false;
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT client{};
    if (!GetClientRect(hwnd, &client) || client.right <= 0 || client.bottom <= 0) return false;
    const int width = client.right;
    const int height = client.bottom;

    bool copied = false;
    std::vector<std::uint8_t> bgra(static_cast<size_t>(width) * height * 4);
    if (const HDC windowDc = GetDC(hwnd)) {
        const HDC memoryDc = CreateCompatibleDC(windowDc);
        const HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
        if (memoryDc && bitmap) {
            const HGDIOBJ previous = SelectObject(memoryDc, bitmap);
            // What the window shows, children included, as the screen has it.
            copied = BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY) != FALSE;
            SelectObject(memoryDc, previous);
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = -height;  // rows top to bottom
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            copied = copied && GetDIBits(windowDc, bitmap, 0, static_cast<UINT>(height),
                                         bgra.data(), &info, DIB_RGB_COLORS) == height;
        }
        if (bitmap) DeleteObject(bitmap);
        if (memoryDc) DeleteDC(memoryDc);
        ReleaseDC(hwnd, windowDc);
    }
    if (!copied) return false;
    picture->width = width;
    picture->height = height;
    picture->rgb.resize(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, j = 0; i < bgra.size(); i += 4, j += 3) {
        picture->rgb[j] = bgra[i + 2];
        picture->rgb[j + 1] = bgra[i + 1];
        picture->rgb[j + 2] = bgra[i];
    }
    return true;
}

}  // namespace host
