// The "Image" page: the camera's readout window (size and offset), its vertical decimation and
// the camera's one-shot commands.
#pragma once

#include <cstdint>

#include "BasPage.h"
#include "ControlIds.h"
#include "EditEx.h"
#include "WindowGeometry.h"
#include "ui/Controls.h"
#include "ui/Template.h"

class CAmbrelControlModule;

class CPFCommandPage : public CBasPage, public ImagePageIds {
public:
    // The command list's first row, standing for "no command".
    static constexpr const wchar_t* kNoCommandRow = L"      ";
    // The offset X spin counts in steps of this many pixels.
    static constexpr int32_t kOffsetXStep = window::kOffsetXStep;

    CPFCommandPage(CAmbrelControlModule* module, ui::CWnd* parent);
    // Registers the page's template with the window system; later calls do nothing.
    static void RegisterTemplate();

    void Reload() override { RefreshImagePage(); }

    // Rebuilds the command list, the decimation list and the geometry controls from the camera.
    void RefreshImagePage();
    // Rows of the command list, the blank first row included.
    int GetCommandRowCount() const;
    // True while the host has its controls locked: size, decimation and commands cannot change;
    // the offsets stay editable.
    void Lock(bool locked);

    // Read one axis's size, offset and maximum from the camera into the members and spins.
    void RefreshX();
    void RefreshY();
    // Writes one offset, clamped to 0..limit, and shows what the camera took.
    void ApplyOffset(int32_t value, int32_t limit, bool horizontal, ui::CSpinButtonCtrl& spin,
                     int editId);
    void RunSelectedCommand();
    // Gives the host's grabber the camera's window, its height divided by the decimation.
    void UpdateHostROI();

protected:
    void DoDataExchange(ui::CDataExchange* pDX) override;
    bool OnWndMsg(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                  ui::LRESULT* result) override;
    bool OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) override;
    bool OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) override;

private:
    void RefreshAxis(bool horizontal);
    void OnOffsetSpin(bool horizontal);
    void OnOffsetEdit(bool horizontal);
    void CheckSize(bool horizontal);
    void Apply();
    void EnableSizeControls(bool enable);
    void EnableDecimationControls(bool enable);
    bool SelectDecimation();
    void ChangeHostRegion(bool largest);

    int32_t ReadWindow(const char* property);
    void WriteWindow(const char* property, int32_t value);
    int32_t OffsetLimit(bool horizontal);

    ui::CComboBox m_commandList;
    CEditEx m_widthEdit;
    CEditEx m_heightEdit;
    CEditEx m_offsetXEdit;
    CEditEx m_offsetYEdit;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;
    ui::CSpinButtonCtrl m_widthSpin;
    ui::CSpinButtonCtrl m_heightSpin;
    ui::CSpinButtonCtrl m_offsetXSpin;
    ui::CSpinButtonCtrl m_offsetYSpin;
    ui::CComboBox m_decimationList;
    uint8_t m_updating = 0;
    // Between Lock(true) and Lock(false): a refresh meanwhile must not unlock the geometry.
    bool m_locked = false;
};

// The page's dialog template, built here and registered by the page.
ui::DialogTemplate ImagePageTemplate();
