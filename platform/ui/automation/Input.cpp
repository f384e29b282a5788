// The user-input entry points, for every backend: checks that a person could act on the window,
// then the hand's movements (InputBackend.h) that the action takes.
#include "ui/Input.h"

#include "InputBackend.h"
#include "InputChecks.h"

namespace ui::input {
namespace {

using detail::Check;
using detail::CheckMouse;
using detail::HeldButtons;

POINT Center(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return POINT{r.right / 2, r.bottom / 2};
}

void ClickAt(HWND hwnd, POINT point) {
    backend::MouseDown(hwnd, point);
    if (IsWindow(hwnd)) backend::MouseUp(hwnd, point);
}

void FocusAsDialogManager(HWND hwnd) {
    const HWND parent = GetParent(hwnd);
    const HWND dialog = parent ? backend::InnermostDialog(parent) : nullptr;
    if (dialog)
        SendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd), 1);
    else
        SetFocus(hwnd);
    PumpMessages();
}

Result PrepareEdit(HWND edit) {
    const Result r = Check(edit, {WindowKind::Edit});
    if (r != Result::Ok) return r;
    if (GetFocus() != edit) FocusAsDialogManager(edit);
    if (IsWindow(edit)) SendMessage(edit, EM_SETSEL, 0, -1);
    return Result::Ok;
}

}  // namespace

Result SelectRow(HWND listOrCombo, int row) {
    const Result r = CheckMouse(listOrCombo, {WindowKind::ListBox, WindowKind::ComboBox});
    if (r != Result::Ok) return r;
    const bool combo = GetWindowKind(listOrCombo) == WindowKind::ComboBox;
    const auto count = SendMessage(listOrCombo, combo ? CB_GETCOUNT : LB_GETCOUNT);
    if (row < 0 || row >= count) return Result::OutOfRange;
    if (!combo) {
        ClickAt(listOrCombo, backend::RowPoint(listOrCombo, row));
        return Result::Ok;
    }
    // A click on the combo box drops its list down; the click on the row picks it.
    ClickAt(listOrCombo, Center(listOrCombo));
    if (IsWindow(listOrCombo) && SendMessage(listOrCombo, CB_GETDROPPEDSTATE))
        backend::ClickDroppedRow(listOrCombo, row);
    return Result::Ok;
}

Result TypeText(HWND edit, std::wstring_view text) {
    const Result r = PrepareEdit(edit);
    if (r != Result::Ok) return r;
    for (wchar_t c : text) backend::TypeCharacter(c);
    return Result::Ok;
}

Result PasteText(HWND edit, std::wstring_view text) {
    const Result r = PrepareEdit(edit);
    if (r != Result::Ok) return r;
    backend::Paste(text);
    return Result::Ok;
}

Result PressKey(HWND window, Key key) {
    const Result r = Check(window);
    if (r != Result::Ok) return r;
    if (GetFocus() != window) FocusAsDialogManager(window);
    backend::Keystroke(key);
    return Result::Ok;
}

Result MoveFocus(HWND window) {
    const Result r = Check(window);
    if (r != Result::Ok) return r;
    FocusAsDialogManager(window);
    return Result::Ok;
}

Result Click(HWND button) {
    const Result r = CheckMouse(button, {WindowKind::PushButton, WindowKind::CheckBox,
                                         WindowKind::RadioButton, WindowKind::Static});
    if (r != Result::Ok) return r;
    ClickAt(button, Center(button));
    return Result::Ok;
}

Result DragSlider(HWND slider, int position) {
    const Result r = CheckMouse(slider, {WindowKind::Slider});
    if (r != Result::Ok) return r;
    const auto low = static_cast<int>(SendMessage(slider, TBM_GETRANGEMIN));
    const auto high = static_cast<int>(SendMessage(slider, TBM_GETRANGEMAX));
    if (position < low || position > high) return Result::OutOfRange;
    backend::DragThumb(slider, position);
    return Result::Ok;
}

Result PressSpin(HWND spin, Arrow arrow) {
    const Result r = CheckMouse(spin, {WindowKind::Spin});
    if (r != Result::Ok) return r;
    RECT c{};
    GetClientRect(spin, &c);
    const bool up = arrow == Arrow::Up;
    const POINT point = (GetWindowLong(spin, GWL_STYLE) & UDS_HORZ)
                            ? POINT{up ? c.right * 3 / 4 : c.right / 4, c.bottom / 2}
                            : POINT{c.right / 2, up ? c.bottom / 4 : c.bottom * 3 / 4};
    ClickAt(spin, point);
    return Result::Ok;
}

Result PressButton(HWND button) {
    const Result r =
        CheckMouse(button, {WindowKind::PushButton, WindowKind::CheckBox, WindowKind::RadioButton});
    if (r != Result::Ok) return r;
    HeldButtons().insert(button);
    backend::MouseDown(button, Center(button));
    return Result::Ok;
}

Result ReleaseButton(HWND button) {
    if (!HeldButtons().erase(button))
        return IsWindow(button) ? Result::NotPressed : Result::NoWindow;
    backend::LetGoOfMouse();
    if (!IsWindow(button)) return Result::Ok;
    backend::MouseUp(button, Center(button));
    return Result::Ok;
}

Result ClickTab(HWND tabControl, int index) {
    const Result r = CheckMouse(tabControl, {WindowKind::Tab});
    if (r != Result::Ok) return r;
    if (index < 0 || index >= SendMessage(tabControl, TCM_GETITEMCOUNT)) return Result::OutOfRange;
    RECT header{};
    SendMessage(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(&header));
    ClickAt(tabControl, POINT{(header.left + header.right) / 2, (header.top + header.bottom) / 2});
    return Result::Ok;
}

}  // namespace ui::input
