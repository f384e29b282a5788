// The docked dialog base: its setup, its two texts, and keys that must not close it.
#include "CDockedDlg.h"

CDockedDlg::CDockedDlg(ui::UINT templateId, ui::CWnd* parent) : ui::CDialog(templateId, parent) {}

// The window goes while the object is still a CDockedDlg, so its last messages find it whole.
CDockedDlg::~CDockedDlg() {
    if (m_hWnd) DestroyWindow();
}

bool CDockedDlg::Create(ui::UINT templateId, ui::CWnd* parent) {
    return ui::CDialog::Create(templateId, parent);
}

void CDockedDlg::OnOK() {}

void CDockedDlg::OnCancel() {}

CDockedDlg* CDockedDlg::SetSetup(CSetup* setup) {
    m_pSetup = setup;
    return this;
}

CSetup* CDockedDlg::GetSetup() const {
    return m_pSetup;
}

const wchar_t* CDockedDlg::GetName() const {
    return m_strName.c_str();
}

void CDockedDlg::SetName(const std::wstring& name) {
    m_strName = name;
}

const wchar_t* CDockedDlg::GetCaption() const {
    return m_strCaption.c_str();
}

void CDockedDlg::SetCaption(const std::wstring& caption) {
    m_strCaption = caption;
}

int32_t CDockedDlg::GetDockValue1() const {
    return m_nDockValue1;
}

int32_t CDockedDlg::GetDockValue2() const {
    return m_nDockValue2;
}

bool CDockedDlg::GetDockFlag() const {
    return m_bDockFlag != 0;
}
