// The "Image" page: the camera's readout window (size and offset), its vertical decimation and
// the camera's one-shot commands.
#include "PFCommandPage.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <string>

#include "AmbrelController.h"
#include "CSetup.h"
#include "DGrabModule.h"
#include "RegisteredMessages.h"
#include "WindowGeometry.h"
#include "platform/TextRules.h"
#include "ui/Window.h"

namespace {

using window::kHeightProperty;
using window::kOffsetXProperty;
using window::kOffsetYProperty;
using window::kWidthProperty;

constexpr const wchar_t* kWidthLabel = L"Size X ";
constexpr const wchar_t* kHeightLabel = L"Size Y";
constexpr const wchar_t* kApplyText = L"Apply";
constexpr const wchar_t* kDecimationLabel = L"Decimation Y";
constexpr const wchar_t* kOffsetXLabel = L"Offset X ";
constexpr const wchar_t* kOffsetYLabel = L"Offset Y";
constexpr const wchar_t* kCommandLabel = L"Command";

// What Lock takes away; the offsets stay.
constexpr int kLockedControls[] = {
    CPFCommandPage::IDC_APPLY,         CPFCommandPage::IDC_WIDTH_EDIT,
    CPFCommandPage::IDC_HEIGHT_EDIT,   CPFCommandPage::IDC_WIDTH_SPIN,
    CPFCommandPage::IDC_HEIGHT_SPIN,   CPFCommandPage::IDC_DECIMATION_LIST,
    CPFCommandPage::IDC_COMMAND_LIST,  CPFCommandPage::IDC_WIDTH_LABEL,
    CPFCommandPage::IDC_HEIGHT_LABEL,  CPFCommandPage::IDC_DECIMATION_LABEL,
    CPFCommandPage::IDC_COMMAND_LABEL,
};

// Camera values are anyone's guess; sums and products of them are taken in 64 bits and
// brought back into range here.
int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

ui::DWORD_PTR ToItemData(int32_t value) {
    return static_cast<ui::DWORD_PTR>(static_cast<ui::INT_PTR>(value));
}

int32_t FromItemData(ui::DWORD_PTR data) {
    return static_cast<int32_t>(static_cast<ui::INT_PTR>(data));
}

void EnableItem(ui::HWND dialog, int id, bool enable) {
    ui::EnableWindow(ui::GetDlgItem(dialog, id), enable);
}

}  // namespace

CPFCommandPage::CPFCommandPage(CAmbrelControlModule* module, ui::CWnd* parent)
    : CBasPage(IDD, module, parent) {}

void CPFCommandPage::RegisterTemplate() {
    static std::once_flag once;
    std::call_once(once, [] { ui::RegisterDialogTemplate(ImagePageTemplate()); });
}

void CPFCommandPage::DoDataExchange(ui::CDataExchange* pDX) {
    CBasPage::DoDataExchange(pDX);
    ui::DDX_Control(pDX, IDC_COMMAND_LIST, m_commandList);
    ui::DDX_Control(pDX, IDC_WIDTH_EDIT, m_widthEdit);
    ui::DDX_Control(pDX, IDC_HEIGHT_EDIT, m_heightEdit);
    ui::DDX_Control(pDX, IDC_OFFSET_X_EDIT, m_offsetXEdit);
    ui::DDX_Control(pDX, IDC_OFFSET_Y_EDIT, m_offsetYEdit);
    ui::DDX_Control(pDX, IDC_WIDTH_SPIN, m_widthSpin);
    ui::DDX_Control(pDX, IDC_HEIGHT_SPIN, m_heightSpin);
    ui::DDX_Control(pDX, IDC_OFFSET_X_SPIN, m_offsetXSpin);
    ui::DDX_Control(pDX, IDC_OFFSET_Y_SPIN, m_offsetYSpin);
    ui::DDX_Control(pDX, IDC_DECIMATION_LIST, m_decimationList);
    ui::DDX_Text(pDX, IDC_WIDTH_EDIT, m_width);
    ui::DDX_Text(pDX, IDC_HEIGHT_EDIT, m_height);
    ui::DDX_Text(pDX, IDC_OFFSET_X_EDIT, m_offsetX);
    ui::DDX_Text(pDX, IDC_OFFSET_Y_EDIT, m_offsetY);
}

int CPFCommandPage::GetCommandRowCount() const {
    return m_commandList.GetSafeHwnd() ? m_commandList.GetCount() : 0;
}

int32_t CPFCommandPage::ReadWindow(const char* property) {
    const CAmbrelController* controller = Controller();
    return controller ? window::Read(*controller, property) : 0;
}

void CPFCommandPage::WriteWindow(const char* property, int32_t value) {
    if (const CAmbrelController* controller = Controller())
        window::Write(*controller, property, value);
}

int32_t CPFCommandPage::OffsetLimit(bool horizontal) {
    CAmbrelController* controller = Controller();
    const int32_t maximum =
        controller ? (horizontal ? controller->GetMaxWidth() : controller->GetMaxHeight()) : 0;
    return window::Room(maximum, ReadWindow(horizontal ? kWidthProperty : kHeightProperty));
}

void CPFCommandPage::RefreshImagePage() {
    CAmbrelController* controller = Controller();

    m_commandList.ResetContent();
    m_commandList.SetItemData(m_commandList.AddString(kNoCommandRow), 0);
    if (controller) {
        for (const CameraCommandInfo& command : controller->m_cameraCommands)
            m_commandList.SetItemData(m_commandList.AddString(command.name.c_str()),
                                      ToItemData(command.id));
        if (!controller->m_cameraCommands.empty()) m_commandList.SetCurSel(0);
    }

    const bool geometry = controller && window::Editable(*controller);
    EnableItem(m_hWnd, IDC_OFFSET_X_EDIT, geometry);
    EnableItem(m_hWnd, IDC_OFFSET_Y_EDIT, geometry);
    EnableItem(m_hWnd, IDC_OFFSET_X_SPIN, geometry);
    EnableItem(m_hWnd, IDC_OFFSET_Y_SPIN, geometry);
    EnableSizeControls(geometry && !m_locked);

    const SettingInfo* decimation = controller ? controller->FindSetting(kIdDecimationY) : nullptr;
    EnableDecimationControls(decimation && !m_locked);
    if (decimation) {
        m_decimationList.ResetContent();
        const int32_t current = decimation->setting ? decimation->setting->GetValue() : 0;
        int selected = -1;
        for (const SettingOption& option : decimation->options) {
            const int row = m_decimationList.AddString(option.label.c_str());
            if (row < 0) break;
            m_decimationList.SetItemData(row, ToItemData(option.value));
            if (option.value == current && selected < 0) selected = row;
        }
        m_decimationList.SetCurSel(selected);
    }

    RefreshX();
    RefreshY();
    UpdateData(false);
}

void CPFCommandPage::EnableSizeControls(bool enable) {
    EnableItem(m_hWnd, IDC_WIDTH_EDIT, enable);
    EnableItem(m_hWnd, IDC_HEIGHT_EDIT, enable);
    EnableItem(m_hWnd, IDC_WIDTH_SPIN, enable);
    EnableItem(m_hWnd, IDC_HEIGHT_SPIN, enable);
}

void CPFCommandPage::EnableDecimationControls(bool enable) {
    EnableItem(m_hWnd, IDC_DECIMATION_LIST, enable);
    EnableItem(m_hWnd, IDC_DECIMATION_LABEL, enable);
}

void CPFCommandPage::Lock(bool locked) {
    m_locked = locked;
    for (int id : kLockedControls) EnableItem(m_hWnd, id, !locked);
}

void CPFCommandPage::RefreshX() {
    RefreshAxis(true);
}

void CPFCommandPage::RefreshY() {
    RefreshAxis(false);
}

void CPFCommandPage::RefreshAxis(bool horizontal) {
    int32_t& size = horizontal ? m_width : m_height;
    int32_t& offset = horizontal ? m_offsetX : m_offsetY;
    ui::CSpinButtonCtrl& sizeSpin = horizontal ? m_widthSpin : m_heightSpin;
    ui::CSpinButtonCtrl& offsetSpin = horizontal ? m_offsetXSpin : m_offsetYSpin;

    CAmbrelController* controller = Controller();
    const window::Axis axis =
        controller ? window::ReadAxis(*controller, horizontal) : window::Axis{};
    size = axis.size;
    offset = axis.offset;
    sizeSpin.SetRange32(0, axis.sizeSpinMax);
    sizeSpin.SetPos32(axis.sizeSpinPos);
    offsetSpin.SetRange32(0, axis.offsetSpinMax);
    offsetSpin.SetPos32(axis.offsetSpinPos);
}

void CPFCommandPage::ApplyOffset(int32_t value, int32_t limit, bool horizontal,
                                 ui::CSpinButtonCtrl& spin, int editId) {
    limit = std::max(limit, 0);
    value = std::clamp(value, 0, limit);
    if (horizontal)
        WriteWindow(kOffsetXProperty, value / kOffsetXStep * kOffsetXStep);
    else
        WriteWindow(kOffsetYProperty, value);
    // The camera may snap or clamp the offset; what it took is what the user sees.
    const int32_t taken = ReadWindow(horizontal ? kOffsetXProperty : kOffsetYProperty);

    m_updating = 1;
    spin.SetRange32(0, limit);
    spin.SetPos32(horizontal ? taken / kOffsetXStep : taken);
    (horizontal ? m_offsetX : m_offsetY) = taken;
    SetDlgItemInt(editId, static_cast<ui::UINT>(taken), true);
    m_updating = 0;
}

void CPFCommandPage::OnOffsetSpin(bool horizontal) {
    const int32_t limit = OffsetLimit(horizontal);
    if (m_updating) return;
    ui::CSpinButtonCtrl& spin = horizontal ? m_offsetXSpin : m_offsetYSpin;
    const int64_t position = spin.GetPos32();
    const int64_t value = horizontal ? position * kOffsetXStep : position;
    ApplyOffset(Saturate(value), limit, horizontal, spin,
                horizontal ? IDC_OFFSET_X_EDIT : IDC_OFFSET_Y_EDIT);
}

void CPFCommandPage::OnOffsetEdit(bool horizontal) {
    const int32_t limit = OffsetLimit(horizontal);
    if (m_updating) return;
    CEditEx& edit = horizontal ? m_offsetXEdit : m_offsetYEdit;
    const int32_t value = plat::ParseLeadingInt32(edit.GetWindowText()).value_or(0);
    ApplyOffset(value, limit, horizontal, horizontal ? m_offsetXSpin : m_offsetYSpin,
                horizontal ? IDC_OFFSET_X_EDIT : IDC_OFFSET_Y_EDIT);
    const int end = edit.GetWindowTextLength();
    edit.SetSel(end, end);
    edit.SendMessage(ui::EM_SCROLLCARET);
    UpdateData(true);
}

void CPFCommandPage::CheckSize(bool horizontal) {
    int32_t& size = horizontal ? m_width : m_height;
    const int32_t previous = size;
    // An edit that holds no number fails the read, which the data exchange reports; the members
    // stay as they were and the check goes on with them.
    UpdateData(true);
    int lower = 0;
    int upper = 0;
    (horizontal ? m_widthSpin : m_heightSpin).GetRange32(lower, upper);
    if (size >= lower && size < upper) {
        (horizontal ? m_widthSpin : m_heightSpin).SetPos32(size);
    } else {
        size = previous;
        UpdateData(false);
    }
}

void CPFCommandPage::Apply() {
    // With no row chosen there is no decimation to write.
    const int row = m_decimationList.GetCurSel();
    std::optional<int32_t> decimation;
    if (row >= 0) decimation = FromItemData(m_decimationList.GetItemData(row));
    // The sizes as last read from the edits or set by the spins.
    if (CAmbrelController* controller = Controller())
        window::ApplySize(*controller, m_width, m_height, decimation);

    RunSelectedCommand();
    SelectDecimation();
    UpdateHostROI();
    RefreshX();
    RefreshY();
    UpdateData(false);
}

bool CPFCommandPage::SelectDecimation() {
    const CAmbrelController* controller = Controller();
    const SettingInfo* decimation = controller ? controller->FindSetting(kIdDecimationY) : nullptr;
    if (!decimation || !decimation->setting) return false;
    const int32_t current = decimation->setting->GetValue();
    int selected = -1;
    for (int row = 0, rows = m_decimationList.GetCount(); row < rows; ++row) {
        if (FromItemData(m_decimationList.GetItemData(row)) == current) {
            selected = row;
            break;
        }
    }
    m_decimationList.SetCurSel(selected);
    return true;
}

void CPFCommandPage::RunSelectedCommand() {
    const int row = m_commandList.GetCurSel();
    if (row <= 0) return;
    const int32_t id = FromItemData(m_commandList.GetItemData(row));
    if (CAmbrelController* controller = Controller()) {
        for (const CameraCommandInfo& command : controller->m_cameraCommands) {
            if (command.id != id) continue;
            if (command.command) command.command->Execute();
            break;
        }
    }
    if (id == kIdFactoryReset || id == kIdResetToDefault) {
        RefreshTabs();
    } else if (id == kIdMaxROI) {
        ChangeHostRegion(true);
    }
    m_commandList.SetCurSel(0);
}

void CPFCommandPage::UpdateHostROI() {
    ChangeHostRegion(false);
}

void CPFCommandPage::ChangeHostRegion(bool largest) {
    CSetup* setup = Setup();
    DGrabModule* grabber = setup ? setup->GetGrabModule() : nullptr;
    if (!grabber) return;
    const bool running = setup->IsGrabbing();
    if (running) setup->ToggleGrabbing();

    CAmbrelController* controller = Controller();
    int32_t width = 0;
    int32_t height = 0;
    if (largest) {
        width = controller ? controller->GetMaxWidth() : 0;
        height = controller ? controller->GetMaxHeight() : 0;
    } else if (controller) {
        const window::Region region = window::CameraRegion(*controller);
        width = region.width;
        height = region.height;
    }
    // The grabber takes unsigned sizes: a camera answering nonsense must not become a huge
    // region.
    if (width > 0 && height > 0)
        grabber->SetROI(0, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height));

    if (running) setup->ToggleGrabbing();
}

bool CPFCommandPage::OnWndMsg(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                              ui::LRESULT* result) {
    if (message == REFRESH_SLIDER) {
        OnOffsetSpin(wParam == 1);
        *result = 0;
        return true;
    }
    if (message == REFRESH_EDIT) {
        OnOffsetEdit(wParam == 1);
        *result = 0;
        return true;
    }
    return CBasPage::OnWndMsg(message, wParam, lParam, result);
}

bool CPFCommandPage::OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) {
    const int id = ui::LOWORD(wParam);
    const ui::WORD code = ui::HIWORD(wParam);
    if (code == ui::EN_CHANGE && (id == IDC_WIDTH_EDIT || id == IDC_HEIGHT_EDIT)) {
        CheckSize(id == IDC_WIDTH_EDIT);
        return true;
    }
    // The offsets are committed when the user leaves the edit, not while typing.
    if (code == ui::EN_KILLFOCUS && (id == IDC_OFFSET_X_EDIT || id == IDC_OFFSET_Y_EDIT)) {
        if (!m_updating) PostMessage(REFRESH_EDIT, id == IDC_OFFSET_X_EDIT ? 1 : 0, 0);
        return true;
    }
    if (code == ui::BN_CLICKED && id == IDC_APPLY) {
        Apply();
        return true;
    }
    return CBasPage::OnCommand(wParam, lParam);
}

bool CPFCommandPage::OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) {
    const auto* header = reinterpret_cast<const ui::NMHDR*>(lParam);
    if (!header || header->code != ui::UDN_DELTAPOS)
        return CBasPage::OnNotify(wParam, lParam, result);
    // The spin asks before it moves; the change itself is always let through.
    const auto* step = reinterpret_cast<const ui::NMUPDOWN*>(lParam);
    switch (static_cast<int>(header->idFrom)) {
        case IDC_OFFSET_X_SPIN:
        case IDC_OFFSET_Y_SPIN:
            if (!m_updating)
                PostMessage(REFRESH_SLIDER, header->idFrom == IDC_OFFSET_X_SPIN ? 1 : 0, 0);
            break;
        case IDC_WIDTH_SPIN:
            m_width = step->iPos;
            UpdateData(false);
            break;
        case IDC_HEIGHT_SPIN:
            m_height = step->iPos;
            UpdateData(false);
            break;
        default:
            return CBasPage::OnNotify(wParam, lParam, result);
    }
    *result = 0;
    return true;
}

ui::DialogTemplate ImagePageTemplate() {
    using P = CPFCommandPage;
    constexpr ui::DWORD kShown = ui::WS_VISIBLE;
    constexpr ui::DWORD kLabel = ui::SS_LEFT | kShown;
    constexpr ui::DWORD kNumber =
        ui::ES_NUMBER | ui::ES_AUTOHSCROLL | ui::WS_BORDER | ui::WS_TABSTOP | kShown;
    constexpr ui::DWORD kSpin = ui::UDS_ARROWKEYS | kShown;
    constexpr ui::DWORD kDropList = ui::CBS_DROPDOWNLIST | ui::WS_VSCROLL | ui::WS_TABSTOP | kShown;
    auto item = [](const wchar_t* className, int id, const wchar_t* text, int x, int y, int cx,
                   int cy, ui::DWORD style) {
        ui::DialogItemTemplate control;
        control.className = className;
        control.id = id;
        control.text = text;
        control.x = x;
        control.y = y;
        control.cx = cx;
        control.cy = cy;
        control.style = style;
        return control;
    };

    ui::DialogTemplate page;
    page.id = P::IDD;
    page.cx = 230;
    page.cy = 65;
    page.style = ui::WS_CHILD | ui::DS_SETFONT | ui::DS_FIXEDSYS | ui::DS_CONTROL;
    page.items = {
        item(ui::WC_BUTTON, ui::IDC_STATIC, L"", 2, 20, 223, 45, ui::BS_GROUPBOX | kShown),
        item(ui::WC_STATIC, P::IDC_WIDTH_LABEL, kWidthLabel, 6, 32, 22, 8, kLabel),
        item(ui::WC_EDIT, P::IDC_WIDTH_EDIT, L"", 31, 30, 48, 14, kNumber),
        item(ui::UPDOWN_CLASS, P::IDC_WIDTH_SPIN, L"", 79, 30, 10, 14, kSpin),
        item(ui::WC_STATIC, P::IDC_HEIGHT_LABEL, kHeightLabel, 95, 34, 20, 8, kLabel),
        item(ui::WC_EDIT, P::IDC_HEIGHT_EDIT, L"", 129, 31, 48, 14, kNumber),
        item(ui::UPDOWN_CLASS, P::IDC_HEIGHT_SPIN, L"", 178, 31, 10, 14, kSpin),
        item(ui::WC_COMBOBOX, P::IDC_COMMAND_LIST, L"", 127, 48, 61, 30, kDropList),
        item(ui::WC_BUTTON, P::IDC_APPLY, kApplyText, 190, 30, 33, 32,
             ui::BS_PUSHBUTTON | ui::WS_TABSTOP | kShown),
        item(ui::WC_STATIC, P::IDC_DECIMATION_LABEL, kDecimationLabel, 6, 49, 42, 8, kLabel),
        item(ui::WC_COMBOBOX, P::IDC_DECIMATION_LIST, L"", 50, 47, 39, 30, kDropList),
        item(ui::WC_STATIC, ui::IDC_STATIC, kOffsetXLabel, 8, 8, 30, 8, kLabel),
        item(ui::WC_EDIT, P::IDC_OFFSET_X_EDIT, L"", 42, 7, 48, 14, kNumber),
        item(ui::UPDOWN_CLASS, P::IDC_OFFSET_X_SPIN, L"", 90, 7, 10, 14, kSpin),
        item(ui::WC_STATIC, ui::IDC_STATIC, kOffsetYLabel, 128, 8, 28, 8, kLabel),
        item(ui::WC_EDIT, P::IDC_OFFSET_Y_EDIT, L"", 160, 6, 48, 14, kNumber),
        item(ui::UPDOWN_CLASS, P::IDC_OFFSET_Y_SPIN, L"", 209, 6, 10, 14, kSpin),
        item(ui::WC_STATIC, P::IDC_COMMAND_LABEL, kCommandLabel, 93, 50, 32, 8, kLabel),
    };
    return page;
}
