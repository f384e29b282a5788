// The shared classes' data layout against the published member tables: the same size and
// alignment as a class written from the table, and every member at the table's offset. A member
// added, removed, retyped or moved fails here (retyped or removed ones already fail to compile:
// each member is named below with the table's type).
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "CCommandParam.h"
#include "CDockedDlg.h"
#include "CModule.h"
#include "CModuleDLL.h"
#include "CParamInfo.h"
#include "CPlaybackSynchData.h"
#include "CScriptCommand.h"
#include "CScriptCommandInfo.h"
#include "CScriptEvent.h"
#include "CScriptVariable.h"
#include "CSetupManager.h"
#include "CVarBool.h"
#include "CVarUINT.h"
#include "EventLink.h"
#include "OtherCopy.h"

namespace {

// Explicit instantiation may name private members; the friend hands the member pointer out.
template <typename Tag, typename Tag::Type Member>
struct Expose {
    friend typename Tag::Type MemberOf(Tag) { return Member; }
};

#define EXPOSE(Class, Member, MemberType)       \
    struct Class##_##Member {                   \
        using Type = MemberType Class::*;       \
        friend Type MemberOf(Class##_##Member); \
    };                                          \
    template struct Expose<Class##_##Member, &Class::Member>

using Commands = std::list<CScriptCommand*>;
using Lines = std::list<std::wstring>;

EXPOSE(CModule, m_events, std::vector<CScriptEvent*>);
EXPOSE(CModule, m_commands, std::vector<CScriptCommandInfo*>);
EXPOSE(CModule, m_variables, std::vector<CScriptVariable*>);
EXPOSE(CModule, m_eventLinks, std::list<EventLink>);
EXPOSE(CModule, m_pSetup, CSetup*);
EXPOSE(CModule, m_pDialogHost, CDialogHost*);
EXPOSE(CModule, m_strName, std::wstring);
EXPOSE(CModule, m_strFileName, std::wstring);
EXPOSE(CModule, m_bHostFlag, bool);
EXPOSE(CModule, m_bAcceptEvents, bool);
EXPOSE(CModule, m_nRunningEvents, std::atomic<int32_t>);
EXPOSE(CModule, m_lock, plat::CriticalSection);

EXPOSE(CPlaybackSynchData, m_lock, plat::CriticalSection);
EXPOSE(CPlaybackSynchData, m_nTag, std::atomic<int32_t>);
EXPOSE(CPlaybackSynchData, m_startMajor, int32_t);
EXPOSE(CPlaybackSynchData, m_startMinor1, uint16_t);
EXPOSE(CPlaybackSynchData, m_startMinor2, uint16_t);
EXPOSE(CPlaybackSynchData, m_endMajor, int32_t);
EXPOSE(CPlaybackSynchData, m_endMinor1, uint16_t);
EXPOSE(CPlaybackSynchData, m_endMinor2, uint16_t);
EXPOSE(CPlaybackSynchData, m_nOrderKey, std::atomic<uint32_t>);

EXPOSE(CScriptVariable, m_strName, std::wstring);
EXPOSE(CScriptVariable, m_strDescription, std::wstring);
EXPOSE(CScriptVariable, m_strType, std::wstring);
EXPOSE(CVarUINT, m_nValue, uint32_t);
EXPOSE(CVarBool, m_bValue, bool);

EXPOSE(CSetupManager, m_synchData, CPlaybackSynchData);
EXPOSE(CSetupManager, m_pActiveSetup, CSetup*);
EXPOSE(CSetupManager, m_setups, std::list<CSetup*>);
EXPOSE(CSetupManager, m_userVariables, std::list<CScriptVariable*>);

EXPOSE(CParamInfo, m_strType, std::wstring);
EXPOSE(CParamInfo, m_strName, std::wstring);
EXPOSE(CParamInfo, m_strDescription, std::wstring);

EXPOSE(CCommandParam, m_pVariable, CScriptVariable*);
EXPOSE(CCommandParam, m_strText, std::wstring);
EXPOSE(CCommandParam, m_bIsIndex, bool);
EXPOSE(CCommandParam, m_nIndex, int32_t);

EXPOSE(CScriptCommandInfo, m_strName, std::wstring);
EXPOSE(CScriptCommandInfo, m_strDescription, std::wstring);
EXPOSE(CScriptCommandInfo, m_strComment, std::wstring);
EXPOSE(CScriptCommandInfo, m_paramInfos, std::vector<CParamInfo>);
EXPOSE(CScriptCommandInfo, m_nId, int32_t);
EXPOSE(CScriptCommandInfo, m_bUserFlag, bool);
EXPOSE(CScriptCommandInfo, m_pModule, CModule*);

EXPOSE(CScriptCommand, m_pInfo, CScriptCommandInfo*);
EXPOSE(CScriptCommand, m_nTag, int32_t);
EXPOSE(CScriptCommand, m_childCursor, Commands::iterator);
EXPOSE(CScriptCommand, m_children, Commands);
EXPOSE(CScriptCommand, m_params, std::vector<CCommandParam>);

EXPOSE(CScriptEvent, m_lock, plat::CriticalSection);
EXPOSE(CScriptEvent, m_strName, std::wstring);
EXPOSE(CScriptEvent, m_strDescription, std::wstring);
EXPOSE(CScriptEvent, m_nId, int32_t);
EXPOSE(CScriptEvent, m_paramInfos, std::vector<CParamInfo>);
EXPOSE(CScriptEvent, m_defaultLines, Lines);
EXPOSE(CScriptEvent, m_pModule, CModule*);
EXPOSE(CScriptEvent, m_rootCommands, Commands);
EXPOSE(CScriptEvent, m_cursor, Commands::iterator);
EXPOSE(CScriptEvent, m_lines, Lines);

EXPOSE(CDockedDlg, m_pSetup, CSetup*);
EXPOSE(CDockedDlg, m_strName, std::wstring);
EXPOSE(CDockedDlg, m_strCaption, std::wstring);
EXPOSE(CDockedDlg, m_nDockValue1, int32_t);
EXPOSE(CDockedDlg, m_nDockValue2, int32_t);
EXPOSE(CDockedDlg, m_bDockFlag, uint8_t);

// The docked dialog's table: its members after the platform dialog.
struct ReferenceDockedDlg : ui::CDialog {
    CSetup* m_pSetup = nullptr;
    std::wstring m_strName;
    std::wstring m_strCaption;
    int32_t m_nDockValue1 = 0;
    int32_t m_nDockValue2 = 0;
    uint8_t m_bDockFlag = 1;
};

template <typename Object, typename Member>
ptrdiff_t OffsetIn(const Object& object, Member Object::*member) {
    return reinterpret_cast<const std::byte*>(&(object.*member)) -
           reinterpret_cast<const std::byte*>(&object);
}

struct Layout {
    std::string name;
    size_t size;
    size_t alignment;
    std::vector<std::pair<std::string, ptrdiff_t>> members;
};

struct Comparison {
    Layout ours;
    Layout table;
};

template <typename Ours, typename Table>
Comparison Compare(const char* name, const Ours&, const Table&) {
    return {{name, sizeof(Ours), alignof(Ours), {}}, {name, sizeof(Table), alignof(Table), {}}};
}

#define MEMBER(Class, Member)                                                           \
    c.ours.members.emplace_back(#Member, OffsetIn(ours, MemberOf(Class##_##Member{}))); \
    c.table.members.emplace_back(#Member, OffsetIn(table, &decltype(table)::Member))

std::vector<Comparison> AllClasses() {
    std::vector<Comparison> all;
    {
        CModule ours;
        other::CModuleData table;
        Comparison c = Compare("CModule", ours, table);
        MEMBER(CModule, m_events);
        MEMBER(CModule, m_commands);
        MEMBER(CModule, m_variables);
        MEMBER(CModule, m_eventLinks);
        MEMBER(CModule, m_pSetup);
        MEMBER(CModule, m_pDialogHost);
        MEMBER(CModule, m_strName);
        MEMBER(CModule, m_strFileName);
        MEMBER(CModule, m_bHostFlag);
        MEMBER(CModule, m_bAcceptEvents);
        MEMBER(CModule, m_nRunningEvents);
        MEMBER(CModule, m_lock);
        all.push_back(c);
    }
    {
        EventLink ours;
        other::EventLink table;
        Comparison c = Compare("EventLink", ours, table);
        c.ours.members = {{"m_strScript", OffsetIn(ours, &EventLink::m_strScript)},
                          {"m_strModule", OffsetIn(ours, &EventLink::m_strModule)},
                          {"m_strEvent", OffsetIn(ours, &EventLink::m_strEvent)}};
        c.table.members = {{"m_strScript", OffsetIn(table, &other::EventLink::m_strScript)},
                           {"m_strModule", OffsetIn(table, &other::EventLink::m_strModule)},
                           {"m_strEvent", OffsetIn(table, &other::EventLink::m_strEvent)}};
        all.push_back(c);
    }
    all.push_back({{"CModuleDLL", sizeof(CModuleDLL), alignof(CModuleDLL), {}},
                   {"CModuleDLL", sizeof(other::CModuleDLL), alignof(other::CModuleDLL), {}}});
    {
        CPlaybackSynchData ours;
        other::CPlaybackSynchData table;
        Comparison c = Compare("CPlaybackSynchData", ours, table);
        MEMBER(CPlaybackSynchData, m_lock);
        MEMBER(CPlaybackSynchData, m_nTag);
        MEMBER(CPlaybackSynchData, m_startMajor);
        MEMBER(CPlaybackSynchData, m_startMinor1);
        MEMBER(CPlaybackSynchData, m_startMinor2);
        MEMBER(CPlaybackSynchData, m_endMajor);
        MEMBER(CPlaybackSynchData, m_endMinor1);
        MEMBER(CPlaybackSynchData, m_endMinor2);
        MEMBER(CPlaybackSynchData, m_nOrderKey);
        all.push_back(c);
    }
    {
        CScriptVariable ours;
        other::CScriptVariable table;
        Comparison c = Compare("CScriptVariable", ours, table);
        MEMBER(CScriptVariable, m_strName);
        MEMBER(CScriptVariable, m_strDescription);
        MEMBER(CScriptVariable, m_strType);
        all.push_back(c);
    }
    {
        CVarUINT ours;
        other::CVarUINT table(L"", 0);
        Comparison c = Compare("CVarUINT", ours, table);
        MEMBER(CVarUINT, m_nValue);
        all.push_back(c);
    }
    {
        CVarBool ours;
        other::CVarBool table;
        Comparison c = Compare("CVarBool", ours, table);
        MEMBER(CVarBool, m_bValue);
        all.push_back(c);
    }
    {
        CSetupManager ours;
        other::CSetupManager table;
        Comparison c = Compare("CSetupManager", ours, table);
        MEMBER(CSetupManager, m_synchData);
        MEMBER(CSetupManager, m_pActiveSetup);
        MEMBER(CSetupManager, m_setups);
        MEMBER(CSetupManager, m_userVariables);
        all.push_back(c);
    }
    {
        CParamInfo ours;
        other::CParamInfo table;
        Comparison c = Compare("CParamInfo", ours, table);
        MEMBER(CParamInfo, m_strType);
        MEMBER(CParamInfo, m_strName);
        MEMBER(CParamInfo, m_strDescription);
        all.push_back(c);
    }
    {
        CCommandParam ours;
        other::CCommandParam table;
        Comparison c = Compare("CCommandParam", ours, table);
        MEMBER(CCommandParam, m_pVariable);
        MEMBER(CCommandParam, m_strText);
        MEMBER(CCommandParam, m_bIsIndex);
        MEMBER(CCommandParam, m_nIndex);
        all.push_back(c);
    }
    {
        CScriptCommandInfo ours;
        other::CScriptCommandInfo table;
        Comparison c = Compare("CScriptCommandInfo", ours, table);
        MEMBER(CScriptCommandInfo, m_strName);
        MEMBER(CScriptCommandInfo, m_strDescription);
        MEMBER(CScriptCommandInfo, m_strComment);
        MEMBER(CScriptCommandInfo, m_paramInfos);
        MEMBER(CScriptCommandInfo, m_nId);
        MEMBER(CScriptCommandInfo, m_bUserFlag);
        MEMBER(CScriptCommandInfo, m_pModule);
        all.push_back(c);
    }
    {
        CScriptCommand ours;
        other::CScriptCommand table;
        Comparison c = Compare("CScriptCommand", ours, table);
        MEMBER(CScriptCommand, m_pInfo);
        MEMBER(CScriptCommand, m_nTag);
        MEMBER(CScriptCommand, m_childCursor);
        MEMBER(CScriptCommand, m_children);
        MEMBER(CScriptCommand, m_params);
        all.push_back(c);
    }
    {
        CScriptEvent ours(L"E", L"", 0, nullptr);
        other::CScriptEvent table(L"E", 0, nullptr);
        Comparison c = Compare("CScriptEvent", ours, table);
        MEMBER(CScriptEvent, m_lock);
        MEMBER(CScriptEvent, m_strName);
        MEMBER(CScriptEvent, m_strDescription);
        MEMBER(CScriptEvent, m_nId);
        MEMBER(CScriptEvent, m_paramInfos);
        MEMBER(CScriptEvent, m_defaultLines);
        MEMBER(CScriptEvent, m_pModule);
        MEMBER(CScriptEvent, m_rootCommands);
        MEMBER(CScriptEvent, m_cursor);
        MEMBER(CScriptEvent, m_lines);
        all.push_back(c);
    }
    {
        CDockedDlg ours(0, nullptr);
        ReferenceDockedDlg table;
        Comparison c = Compare("CDockedDlg", ours, table);
        MEMBER(CDockedDlg, m_pSetup);
        MEMBER(CDockedDlg, m_strName);
        MEMBER(CDockedDlg, m_strCaption);
        MEMBER(CDockedDlg, m_nDockValue1);
        MEMBER(CDockedDlg, m_nDockValue2);
        MEMBER(CDockedDlg, m_bDockFlag);
        all.push_back(c);
    }
    return all;
}

TEST(SharedLayoutTest, EveryClassHasExactlyItsTablesMembersAtTheirOffsets) {
    for (const Comparison& c : AllClasses()) {
        SCOPED_TRACE(c.ours.name);
        for (size_t i = 0; i < c.table.members.size(); ++i) {
            EXPECT_EQ(c.ours.members[i].second, c.table.members[i].second)
                << c.ours.name << "::" << c.ours.members[i].first
                << " is not where the table has it";
        }
        EXPECT_EQ(c.ours.size, c.table.size)
            << c.ours.name << " has members the table does not list (or lacks some)";
        EXPECT_EQ(c.ours.alignment, c.table.alignment) << c.ours.name;
    }
}

}  // namespace
