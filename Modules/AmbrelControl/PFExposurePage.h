// The "Exposure" page: exposure time and frame time with sliders and edits, and the constant
// frame rate and simultaneous readout settings as check boxes.
#pragma once

#include <cstdint>
#include <memory>

#include "AdjustmentDisplay.h"
#include "BasPage.h"
#include "ControlIds.h"
#include "ControllerTypes.h"
#include "ui/Controls.h"
#include "ui/Template.h"

class CAmbrelController;

class CPFExposurePage : public CBasPage, public ExposurePageIds {
public:
    static constexpr const wchar_t* kExposureText = L"Exposure time[ms]";
    static constexpr const wchar_t* kFrameTimeText = L"Frame time[ms]";
    static constexpr const wchar_t* kConstantFrameRateText = L"Constant Frame Rate";
    static constexpr const wchar_t* kSimultaneousReadoutText = L"Simultaneous Readout";
    static constexpr const wchar_t* kBoundText = L"0";

    // wParam of REFRESH_SLIDER and REFRESH_EDIT: which adjustment moved.
    static constexpr ui::WPARAM kExposure = 1;
    static constexpr ui::WPARAM kFrameTime = 0;

    CPFExposurePage(CAmbrelControlModule* module, ui::CWnd* parent);
    ~CPFExposurePage() override;
    // Registers the page's template with the window system; later calls do nothing.
    static void RegisterTemplate();

    void Reload() override { RefreshExposurePage(); }

    // Reloads both records, the check boxes, the labels, the sliders and the edits from the
    // camera.
    void RefreshExposurePage();
    // Whether the camera offers exposure time (the page then gets a tab).
    bool HasExposureRecord() const { return m_exposure != nullptr; }
    const AdjustmentInfo* GetExposureRecord() const { return m_exposure.get(); }
    const AdjustmentInfo* GetFrameTimeRecord() const { return m_frameTime.get(); }

    void DoDataExchange(ui::CDataExchange* pDX) override;

protected:
    // The controls' notifications (edits and check boxes, sliders, slider repaints), then the
    // messages the page posts itself.
    bool OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) override;
    void OnHScroll(ui::UINT code, ui::UINT position, ui::HWND scrollBar) override;
    bool OnNotify(ui::WPARAM wParam, ui::LPARAM lParam, ui::LRESULT* result) override;
    bool OnWndMsg(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                  ui::LRESULT* result) override;

private:
    // The controls and the record of one of the two adjustments.
    struct Target {
        ui::CSliderCtrl* slider;
        AdjustmentInfo* record;
        ui::CEdit* edit;
    };
    Target TargetFor(ui::WPARAM which);
    adjustment::Display Display(const Target& target);

    void RefreshValue(const Target& target);
    void ShowIntOn(const Target& target, int32_t value, bool apply);
    void ShowRealOn(const Target& target, double value, bool apply);
    void OnRefreshSlider(ui::WPARAM which);
    void OnRefreshEdit(ui::WPARAM which);
    void OnSettingClicked(int32_t settingId, int32_t& member);
    void EnableFrameTime();
    // 1 when the first setting with this id reads 1, else 0 (also when there is none).
    int32_t ReadSettingChecked(int32_t settingId);

    ui::CSliderCtrl m_exposureSlider;
    ui::CSliderCtrl m_frameTimeSlider;
    std::unique_ptr<AdjustmentInfo> m_exposure;
    std::unique_ptr<AdjustmentInfo> m_frameTime;
    int32_t m_constantFrameRate = 0;
    int32_t m_simultaneousReadout = 0;
    ui::CEdit m_exposureEdit;
    ui::CEdit m_frameTimeEdit;
    uint8_t m_updating = 0;
    uint8_t m_editIsSource = 0;
};

// The page's dialog template, built here and registered by the page.
ui::DialogTemplate ExposurePageTemplate();
