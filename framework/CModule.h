// The base class of every module the host loads: the host's handle on a module, its script
// lists, and the counting of event executions in progress.
//
// Binary interface: the host compiles against this same class and reads a module's members
// directly, so the order and types of the data members and the order and argument shapes of
// the 74 virtual slots are a contract with the host. Never insert, remove or reorder a data
// member or a virtual function, nor change an argument's type. Slots are numbered as the
// host's compiler lays them out, 0 to 73, with the virtual destructor as slot 3. GCC and the
// Itanium C++ ABI give a virtual destructor two vtable entries where MSVC gives one, so on this
// compiler every slot from 4 on sits one vtable entry further on (slot 73 is entry 74).
// Arguments the host passes as 32-bit values are uint32_t here.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "EventLink.h"
#include "platform/Sync.h"

class CCommandParam;
class CDialogHost;
class CScriptCommandInfo;
class CScriptEvent;
class CScriptVariable;
class CSetup;

class CModule {
public:
    CModule();
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

    // Slots 0 to 2: host notifications; nothing by default.
    virtual void HostNotify0();
    virtual void HostNotify1();
    virtual void HostNotify2();
    // Slot 3. Takes back this module's event links first, while the setup and the other
    // modules are still alive.
    virtual ~CModule();
    // Slot 4: connects the event links, then compiles the scripts.
    virtual void Attach();
    virtual void LoadSettings();  // slot 5
    virtual void SaveSettings();  // slot 6
    // Slots 7 and 8: around every execution of one of this module's events.
    virtual void OnEventBegin(int32_t eventId, uint32_t eventArgument);
    virtual void OnEventEnd(int32_t eventId, uint32_t eventArgument);
    // Slot 9: runs one of the module's script commands; false skips the command's subtree.
    virtual bool ExecuteCommand(int32_t commandId, std::vector<CCommandParam>* params,
                                uint32_t eventArgument);
    // Slots 10 and 11: the links this module wants placed into other modules' events.
    virtual int32_t GetEventLinkCount();
    virtual EventLink GetEventLink(int32_t index);
    virtual void HostNotify12(uint32_t);
    virtual void HostNotify13(uint32_t);
    virtual void HostNotify14();
    virtual void HostNotify15(uint32_t);
    virtual void HostNotify16(uint32_t);
    virtual void HostNotify17(uint32_t, uint32_t);
    virtual void HostNotify18(uint32_t, uint32_t);
    virtual void HostNotify19(uint32_t, uint32_t);
    virtual void HostNotify20(uint32_t, uint32_t);
    virtual void HostNotify21();
    virtual void HostNotify22();
    virtual void HostNotify23(uint32_t);
    virtual void HostNotify24(uint32_t, uint32_t, uint32_t);
    virtual void HostNotify25(uint32_t);
    virtual void HostNotify26(uint32_t, uint32_t, uint32_t);
    virtual void HostNotify27();
    virtual void HostNotify28();
    virtual void HostNotify29();
    virtual void HostNotify30();
    virtual void HostNotify31(std::wstring);
    virtual void HostNotify32();
    virtual void HostNotify33();
    virtual void HostNotify34();
    // Slot 35: the host locks the module's controls until slot 38.
    virtual void LockControls();
    virtual void HostNotify36();
    virtual void HostNotify37();
    virtual void UnlockControls();  // slot 38
    virtual void HostNotify39();
    virtual void HostNotify40();
    virtual void HostNotify41(uint32_t);
    virtual void HostNotify42(uint32_t);
    virtual void HostNotify43(uint32_t, uint32_t, uint32_t);
    virtual void HostNotify44(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
    virtual void HostNotify45(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
    virtual void HostNotify46(uint32_t, uint32_t);
    virtual void HostNotify47(std::wstring);
    virtual void HostNotify48(uint32_t, uint32_t);
    virtual void HostNotify49(uint32_t, uint32_t);
    virtual void HostNotify50(uint32_t, uint32_t);
    virtual void HostNotify51(uint32_t, uint32_t);
    virtual void HostNotify52();
    virtual void HostNotify53();
    virtual void HostNotify54();
    virtual void HostNotify55();
    virtual void HostNotify56();
    virtual void HostNotify57();
    virtual void HostNotify58();
    virtual void HostNotify59();
    virtual void HostNotify60();
    virtual void HostNotify61();
    virtual void HostNotify62(uint32_t, uint32_t);
    virtual void HostNotify63(uint32_t, uint32_t);
    virtual void HostNotify64(uint32_t, uint32_t);
    virtual void HostNotify65(uint32_t, uint32_t);
    virtual void HostNotify66(uint32_t, uint32_t);
    virtual void HostNotify67(uint32_t, uint32_t);
    virtual void HostNotify68(uint32_t, uint32_t);
    virtual void HostNotify69(uint32_t, uint32_t);
    virtual void HostNotify70(uint32_t, uint32_t);
    virtual void HostNotify71(uint32_t, uint32_t);
    virtual void HostNotify72();
    virtual bool HostQuery73(uint32_t, uint32_t);

    // Host pointers and names.
    void SetHosts(CSetup* setup, CDialogHost* dialogHost);
    CSetup* GetSetup() const;
    CDialogHost* GetDialogHost() const;
    void SetName(std::wstring name);
    std::wstring GetName() const;
    std::wstring GetFileName() const;
    bool GetHostFlag() const;

    // Event execution counting. Any thread may begin and end executions; StopEvents refuses
    // new ones and waits, without time-out, until those running have ended.
    bool TryBeginEvent();
    void EndEvent();
    void StopEvents();
    void EnableEvents();

    // Slot 1, then slot 0, then slot 2.
    void NotifySequence();

    // The script lists. The module does not own what they point to. UI thread only.
    void AddEvent(CScriptEvent* event);
    void LoadScripts();
    void SaveScripts();
    void CompileScripts();
    void ResetScripts();
    int32_t GetEventCount() const;
    int32_t GetCommandCount() const;
    int32_t GetVariableCount() const;
    // Null for an index outside the list.
    CScriptEvent* GetEvent(int32_t index) const;
    CScriptCommandInfo* GetCommand(int32_t index) const;
    CScriptVariable* GetVariable(int32_t index) const;
    // The first entry whose name (or id) matches exactly, or null.
    CScriptEvent* FindEvent(std::wstring name) const;
    CScriptEvent* FindEventById(int32_t id) const;
    CScriptCommandInfo* FindCommand(std::wstring name) const;
    CScriptVariable* FindVariable(const wchar_t* name) const;

    // Places the links of slots 10 and 11 into their target events, remembering those placed;
    // takes the remembered ones back.
    void ConnectEventLinks();
    void DisconnectEventLinks();

    static constexpr const wchar_t* kWaitingForEventsFormat = L"Waiting for %d events to complete";

protected:
    std::vector<CScriptEvent*> m_events;
    std::vector<CScriptCommandInfo*> m_commands;
    std::vector<CScriptVariable*> m_variables;
    std::list<EventLink> m_eventLinks;
    CSetup* m_pSetup;
    CDialogHost* m_pDialogHost;
    std::wstring m_strName;
    std::wstring m_strFileName;
    bool m_bHostFlag;
    bool m_bAcceptEvents;                   // guarded by m_lock
    std::atomic<int32_t> m_nRunningEvents;  // changed under m_lock; read without it
    plat::CriticalSection m_lock;

private:
    void DisconnectLinks(bool skipOwnEvents);
    CScriptEvent* FindLinkTarget(const EventLink& link, bool skipOwnEvents) const;
};
