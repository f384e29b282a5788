// A host around a module for the plug-in's tests: a setup with a grabber, a dialog host and
// an application profile, each writing what the module asks of it into one shared log.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "CDialogHost.h"
#include "CDockedDlg.h"
#include "CSetup.h"
#include "DGrabModule.h"
#include "platform/Application.h"
#include "ui/Window.h"

using HostLog = std::vector<std::wstring>;

class TestSetup : public CSetup {
public:
    TestSetup(HostLog& log, std::wstring name) : m_log(log), m_name(std::move(name)) {}

    const wchar_t* GetName() override { return m_name.c_str(); }
    DGrabModule* GetGrabModule() override { return hasGrabber ? &grabber : nullptr; }
    bool IsGrabbing() override { return grabbing; }
    // Logs how many regions the grabber had been given, so a test sees the order of the two.
    void ToggleGrabbing() override {
        grabbing = !grabbing;
        ++toggleCount;
        m_log.push_back(L"ToggleGrabbing after " + std::to_wstring(grabber.GetROICount()) +
                        L" regions");
    }

    DGrabModule grabber;
    bool hasGrabber = true;
    bool grabbing = false;
    int toggleCount = 0;

private:
    HostLog& m_log;
    std::wstring m_name;
};

// Docks by showing the dialog, as the host's frame would, and undocks by hiding it.
class TestDialogHost : public CDialogHost {
public:
    explicit TestDialogHost(HostLog& log) : m_log(log) {}

    void AddDialog(CDockedDlg* dialog) override {
        m_log.push_back(std::wstring(L"AddDialog ") + (dialog ? dialog->GetName() : L"null"));
        docked = dialog;
        if (dialog) dialog->ShowWindow(ui::SW_SHOW);
    }
    void RemoveDialog(CDockedDlg* dialog) override {
        const bool alive = dialog && ui::IsWindow(dialog->GetSafeHwnd());
        m_log.push_back(std::wstring(L"RemoveDialog ") +
                        (alive ? L"with window" : L"without window"));
        if (alive) dialog->ShowWindow(ui::SW_HIDE);
        if (dialog == docked) docked = nullptr;
    }

    CDockedDlg* docked = nullptr;

private:
    HostLog& m_log;
};

class TestApp : public plat::CWinApp {
public:
    explicit TestApp(HostLog& log) : m_log(log) {}

    int GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) override {
        ++profileIntReads;
        return plat::CWinApp::GetProfileInt(section, entry, defaultValue);
    }
    bool WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) override {
        m_log.push_back(std::wstring(L"WriteProfileInt ") + section + L" " + entry + L"=" +
                        std::to_wstring(value));
        return plat::CWinApp::WriteProfileInt(section, entry, value);
    }

    int profileIntReads = 0;

private:
    HostLog& m_log;
};
