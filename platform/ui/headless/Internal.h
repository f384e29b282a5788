// The headless backend's window records, per-thread state and the controls' procedures.
// Private to platform/ui/headless.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../common/TimerSchedule.h"
#include "platform/TextRules.h"
#include "ui/Messages.h"
#include "ui/Types.h"
#include "ui/Window.h"

namespace ui {
class CWnd;
}

namespace ui::headless {

struct Window;

// A control's or dialog's private state, owned by its window record.
struct ExtraState {
    virtual ~ExtraState() = default;
};

using ClassProc = LRESULT (*)(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

struct WindowClass {
    const wchar_t* name;
    ClassProc proc;
    std::unique_ptr<ExtraState> (*makeState)();
};

// One thread's queue, timers, clock, focus and capture. Other threads only post.
struct ThreadState {
    std::mutex mutex;  // guards `posted`
    std::deque<MSG> posted;

    detail::TimerSchedule clock;  // touched by the owning thread only

    HWND focus = nullptr;
    HWND capture = nullptr;
    bool shiftDown = false;
};

// One window. Its fields belong to the thread that created it.
struct Window {
    HWND handle = nullptr;
    const WindowClass* cls = nullptr;
    std::wstring className;
    HWND parent = nullptr;
    std::vector<HWND> children;  // z-order, topmost first
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;
    RECT rect{};  // in the parent's client coordinates (screen without parent)
    CWnd* object = nullptr;
    std::unique_ptr<ExtraState> extra;
    std::shared_ptr<ThreadState> thread;
    bool destroying = false;
    bool destroyed = false;

    template <class T>
    T& State() {
        return static_cast<T&>(*extra);
    }
};

std::shared_ptr<ThreadState> CurrentThread();

// The live window with this handle, or null.
std::shared_ptr<Window> Find(HWND hwnd);
// The child of `parent` with the control id `id`, or null.
HWND FindChild(const Window& parent, int id);
// Calls the window's procedure: its bound object, else its class procedure.
LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

// Class procedures.
LRESULT DefWindowProcImpl(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DialogProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TrackbarProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT UpDownProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TabProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
std::unique_ptr<ExtraState> MakeDialogState();
std::unique_ptr<ExtraState> MakeButtonState();
std::unique_ptr<ExtraState> MakeEditState();
std::unique_ptr<ExtraState> MakeListBoxState();
std::unique_ptr<ExtraState> MakeComboBoxState();
std::unique_ptr<ExtraState> MakeTrackbarState();
std::unique_ptr<ExtraState> MakeUpDownState();
std::unique_ptr<ExtraState> MakeTabState();

// Notifications from a control to the window it notifies.
void NotifyCommand(Window& control, WORD code);
LRESULT NotifyParent(Window& control, UINT code);      // WM_NOTIFY with a bare NMHDR
LRESULT NotifyParent(Window& control, NMHDR& header);  // fills hwndFrom and idFrom
void NotifyScroll(Window& control, bool vertical, WORD code, int position);

// Geometry helpers.
RECT FrameInsets(DWORD style, DWORD exStyle);  // frame widths on each side
RECT ClientRectOf(const Window& window);       // (0, 0, width, height) of the client area
bool PointInClient(const Window& window, LPARAM point);

// The rows of a list box or combo box.
struct ListItem {
    std::wstring text;
    LPARAM data = 0;
};
struct ItemList {
    std::vector<ListItem> items;
    int selection = -1;

    int Count() const { return static_cast<int>(items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // Each answers the new row's index, or -1 when the index is out of range.
    int Add(const std::wstring& text);
    int Insert(int index, const std::wstring& text);
    // Answers the remaining count, or -1.
    int Delete(int index);
    void Reset();
    // The first row after `startAfter` (wrapping; -1 searches from the top) whose text
    // starts with (or, exactly, equals) `text`, ignoring case; -1 when none does.
    int Search(int startAfter, const std::wstring& text, bool exact) const;
};

// Text helpers shared by the list controls.
// Copies text into a caller's buffer of unknown size (as LB_GETTEXT does); answers the length.
LRESULT CopyOut(const std::wstring& text, LPARAM buffer);

// Backend hooks the input entry points use for what a person's hand does to a control
// beyond what a message can carry.
void TrackbarSetDragTarget(Window& window, int position);
int TrackbarPositionToX(Window& window, int position);
void ListBoxScrollIntoView(Window& window, int row);
LPARAM ListBoxRowPoint(Window& window, int row);
void ComboListClick(Window& window, int row);

// The dialog manager's handling of a keyboard message, telling whether it was delivered to
// the control (so that the keystroke also yields WM_CHAR) or consumed as navigation.
enum class DialogKey { NotForDialog, Consumed, Delivered };
DialogKey HandleDialogKey(HWND dialog, MSG* msg);
// The dialog manager's focus move to a control (its text selected when it asks for that).
void DialogSetFocus(HWND control);
HWND InnermostDialog(HWND hwnd);

}  // namespace ui::headless
