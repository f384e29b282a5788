// The base of a module's dialog that the host docks into its own main window.
//
// Binary interface: the host shares this class; keep the member order (after the platform
// dialog: setup, name, caption, the two values, the flag) and the order of the overridden
// virtual operations (Create, OnOK, OnCancel).
#pragma once

#include <cstdint>
#include <string>

#include "ui/Wnd.h"

class CSetup;

class CDockedDlg : public ui::CDialog {
public:
    static constexpr const wchar_t* kDefaultName = L"Unnamed dialog";

    // Only records the template and the parent; the subclass creates the window.
    CDockedDlg(ui::UINT templateId, ui::CWnd* parent);
    ~CDockedDlg() override;

    bool Create(ui::UINT templateId, ui::CWnd* parent = nullptr) override;
    // Enter and Escape never end a docked dialog; only its owner destroys it.
    void OnOK() override;
    void OnCancel() override;

    CDockedDlg* SetSetup(CSetup* setup);
    CSetup* GetSetup() const;
    // The texts' characters stay owned by the dialog.
    const wchar_t* GetName() const;
    void SetName(const std::wstring& name);
    const wchar_t* GetCaption() const;
    void SetCaption(const std::wstring& caption);

    // Kept for the host; nothing in a module changes them after construction.
    int32_t GetDockValue1() const;
    int32_t GetDockValue2() const;
    bool GetDockFlag() const;

private:
    CSetup* m_pSetup = nullptr;
    std::wstring m_strName = kDefaultName;
    std::wstring m_strCaption;
    int32_t m_nDockValue1 = 0;
    int32_t m_nDockValue2 = 0;
    uint8_t m_bDockFlag = 1;
};
