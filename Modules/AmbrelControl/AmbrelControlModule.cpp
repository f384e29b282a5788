// The camera module: construction and destruction order, docking, and the stored port.
#include "AmbrelControlModule.h"

#include <memory>
#include <new>

#include "AmbrelControlDlg.h"
#include "AmbrelController.h"
#include "CDialogHost.h"
#include "CSetup.h"
#include "platform/Application.h"
#include "platform/Text.h"

CAmbrelControlModule::CAmbrelControlModule()
    : m_pDialog(nullptr), m_pController(nullptr), m_bSettingsLoaded(0), m_nPort(0) {
    m_strName = kName;
    m_strFileName = kFileName;
    // Held here until both exist, so that a constructor that throws leaves nothing behind.
    std::unique_ptr<CAmbrelControlDlg> dialog(new (std::nothrow) CAmbrelControlDlg(this));
    std::unique_ptr<CAmbrelController> controller(new (std::nothrow) CAmbrelController());
    m_pDialog = dialog.release();
    m_pController = controller.release();
}

CAmbrelControlModule::~CAmbrelControlModule() {
    CAmbrelControlModule::SaveSettings();
    if (m_pDialog) {
        if (m_pDialogHost) m_pDialogHost->RemoveDialog(m_pDialog);
        m_pDialog->DestroyWindow();
        delete m_pDialog;
        m_pDialog = nullptr;
    }
    delete m_pController;
    m_pController = nullptr;
}

void CAmbrelControlModule::HostNotify0() {}
void CAmbrelControlModule::HostNotify1() {}
void CAmbrelControlModule::HostNotify2() {}
void CAmbrelControlModule::OnEventBegin(int32_t, uint32_t) {}
void CAmbrelControlModule::OnEventEnd(int32_t, uint32_t) {}

bool CAmbrelControlModule::ExecuteCommand(int32_t, std::vector<CCommandParam>*, uint32_t) {
    return false;
}

int32_t CAmbrelControlModule::GetEventLinkCount() {
    return 0;
}

EventLink CAmbrelControlModule::GetEventLink(int32_t) {
    return EventLink();
}

void CAmbrelControlModule::Attach() {
    if (m_pDialog) {
        m_pDialog->SetSetup(GetSetup());
        if (m_pDialogHost) m_pDialogHost->AddDialog(m_pDialog);
    }
    CModule::Attach();
    LoadSettings();
}

void CAmbrelControlModule::LoadSettings() {
    if (m_bSettingsLoaded) return;
    const std::wstring section = ProfileSection();
    plat::CWinApp* app = plat::AfxGetApp();
    m_nPort = (app && !section.empty()) ? app->GetProfileInt(section.c_str(), kPortEntry, 0) : 0;
    if (m_pController) {
        m_pController->Refresh();
        if (m_pDialog) {
            m_pDialog->RebuildTabs(m_pController);
            m_pDialog->SelectStoredPort(m_nPort);
        }
    }
    m_bSettingsLoaded = 1;
}

void CAmbrelControlModule::SaveSettings() {
    const std::wstring section = ProfileSection();
    plat::CWinApp* app = plat::AfxGetApp();
    if (app && !section.empty()) app->WriteProfileInt(section.c_str(), kPortEntry, m_nPort);
}

void CAmbrelControlModule::LockControls() {
    if (m_pDialog) m_pDialog->Lock(true);
}

void CAmbrelControlModule::UnlockControls() {
    if (m_pDialog) m_pDialog->Lock(false);
}

void CAmbrelControlModule::RefreshTabs() {
    if (m_pDialog) m_pDialog->RefreshTabs(m_pController);
}

std::wstring CAmbrelControlModule::ProfileSection() const {
    CSetup* setup = GetSetup();
    const wchar_t* setupName = setup ? setup->GetName() : nullptr;
    if (!setupName) return std::wstring();
    return plat::Format(kSectionFormat, setupName, GetName());
}
