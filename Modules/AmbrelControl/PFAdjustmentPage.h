// The "Adjustment" page: the camera's numeric adjustments other than exposure and frame time,
// each edited with a slider, an edit box and auto-repeating step buttons.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "AdjustmentDisplay.h"
#include "BasPage.h"
#include "ControlIds.h"
#include "ControllerTypes.h"
#include "RepeatButton.h"
#include "ui/Controls.h"
#include "ui/Template.h"

class CAmbrelController;

class CPFAdjustmentPage : public CBasPage, public AdjustmentPageIds {
public:
    static constexpr const wchar_t* kGroupText = L"Adjustments";
    static constexpr const wchar_t* kLargeDecreaseText = L"<<";
    static constexpr const wchar_t* kSmallDecreaseText = L"<";
    static constexpr const wchar_t* kSmallIncreaseText = L">";
    static constexpr const wchar_t* kLargeIncreaseText = L">>";
    static constexpr const wchar_t* kAutomaticText = L"Automatic";
    static constexpr const wchar_t* kOneShotText = L"One Shot";
    static constexpr const wchar_t* kBoundText = L"0";

    CPFAdjustmentPage(CAmbrelControlModule* module, ui::CWnd* parent);
    ~CPFAdjustmentPage() override;
    // Registers the page's template with the window system; later calls do nothing.
    static void RegisterTemplate();

    void Reload() override { RefreshAdjustmentList(); }

    // Rebuilds the list from the controller and shows the selected adjustment.
    void RefreshAdjustmentList();
    // Rows in the list.
    int GetAdjustmentCount() const;
    // The selected row's record, or null.
    const AdjustmentInfo* GetCurrent() const { return m_current; }

    // Refreshes every control for the current adjustment from the camera.
    void ShowCurrent();
    // Clamp, optionally write to the camera and read back, then show on the slider, the edit
    // and the step buttons.
    void ShowInt(int32_t value, bool apply);
    void ShowReal(double value, bool apply);

    void DoDataExchange(ui::CDataExchange* pDX) override;

protected:
    bool OnWndMsg(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                  ui::LRESULT* result) override;
    bool OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) override;
    bool OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) override;
    void OnHScroll(ui::UINT code, ui::UINT position, ui::HWND scrollBar) override;

private:
    adjustment::Display Display();
    void ClearList();
    void OnRefreshList();
    void OnRefreshSlider();
    void OnRefreshEdit();
    void OnRefreshAutoButton();
    void OnOneShot();
    void OnStep(ui::WPARAM buttonId);
    void ShowBoundButtons(adjustment::Shown shown);

    ui::CListBox m_list;
    ui::CSliderCtrl m_slider;
    ui::CStatic m_minLabel;
    ui::CStatic m_maxLabel;
    ui::CEdit m_edit;
    ui::CButton m_oneShotButton;
    ui::CButton m_autoButton;
    CRepeatButton m_largeDecrease;
    CRepeatButton m_smallDecrease;
    CRepeatButton m_smallIncrease;
    CRepeatButton m_largeIncrease;
    uint8_t m_updating = 0;
    uint8_t m_editIsSource = 0;
    AdjustmentInfo* m_current = nullptr;  // owned by m_records, as its list row's item data
    // The rows' records, in row order; kept here so they outlive the list box's window.
    std::vector<std::unique_ptr<AdjustmentInfo>> m_records;
};

// The page's dialog template, built here and registered by the page.
ui::DialogTemplate AdjustmentPageTemplate();
