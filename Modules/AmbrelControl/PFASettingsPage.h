// The "Settings" page: the serial port and the camera's enumerated settings as two lists,
// the features on the left and the selected feature's options on the right.
#pragma once

#include <cstdint>

#include "BasPage.h"
#include "ControlIds.h"
#include "ui/Controls.h"
#include "ui/Template.h"

class CPFASettingsPage : public CBasPage, public SettingsPageIds {
public:
    static constexpr const wchar_t* kFeatureLabel = L"Feature:";
    static constexpr const wchar_t* kValuesLabel = L"Values";
    static constexpr const wchar_t* kPortFormat = L"Port is ====================== %d";

    CPFASettingsPage(CAmbrelControlModule* module, ui::CWnd* parent);
    // Registers the page's template with the window system; later calls do nothing.
    static void RegisterTemplate();

    void Reload() override { RefreshFeatureList(); }

    void DoDataExchange(ui::CDataExchange* pDX) override;

    // Lists the controller's settings (less those the other pages show) and the first one's
    // options.
    void RefreshFeatureList();
    // Lists the options of the setting with this id and selects the camera's current one.
    void ShowOptions(int32_t id);
    // Writes the selected option of the selected feature to the camera and shows the result.
    void ApplySelection();
    // Sets the host's capture region, pausing grabbing around the change.
    void SetHostROI(uint32_t width, uint32_t height);
    // Selects the stored row of the Port options ("Not selected" when it is beyond the list)
    // and applies it.
    void SelectStoredPort(int32_t row);

    int32_t m_nFeatureCount;
    ui::CListBox m_featureList;
    ui::CListBox m_valuesList;

protected:
    bool OnCommand(ui::WPARAM wParam, ui::LPARAM lParam) override;

private:
    // Selects the first values row holding this value; none when no row does. Answers the row.
    int SelectValueRow(int32_t value);
};

// The page's dialog template, built here and registered by the page.
ui::DialogTemplate SettingsPageTemplate();
