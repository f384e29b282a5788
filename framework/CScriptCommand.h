// One command instance in a script event's command tree; runs through its module and then,
// if the module carried it out, its nested commands.
#pragma once

#include <cstdint>
#include <list>
#include <utility>
#include <vector>

#include "CCommandParam.h"

class CScriptCommandInfo;

// Crosses the host/module boundary by pointer; member order is shared with the host.
class CScriptCommand {
public:
    CScriptCommand();
    explicit CScriptCommand(CScriptCommandInfo* info);
    virtual ~CScriptCommand();  // deletes the whole subtree
    CScriptCommand(const CScriptCommand&) = delete;
    CScriptCommand& operator=(const CScriptCommand&) = delete;

    CScriptCommandInfo* GetInfo() const { return m_pInfo; }
    void SetTag(int32_t tag) { m_nTag = tag; }
    int32_t GetTag() const { return m_nTag; }

    // Nests `command` (taking ownership) `depth` levels down along the chain of last children,
    // stopping at the deepest level that exists.
    void AddChild(CScriptCommand* command, uint32_t depth);

    // Hands the command to its module; when the module carried it out, runs every child in order.
    // Answers whether the module carried it out. Nesting costs no stack: the walk keeps its place
    // in each command's child cursor.
    bool Execute(uint32_t eventArgument);
    // Runs each command of `list` as Execute does, moving `cursor` over it as each one runs and
    // leaving it at the list's end.
    static void RunList(std::list<CScriptCommand*>& list,
                        std::list<CScriptCommand*>::iterator& cursor, uint32_t eventArgument);

    const std::list<CScriptCommand*>& GetChildren() const { return m_children; }

    // Appended to by the script event while it compiles the line, one entry per token.
    void AddParam(CCommandParam param) { m_params.push_back(std::move(param)); }
    std::vector<CCommandParam>& GetParams() { return m_params; }
    const std::vector<CCommandParam>& GetParams() const { return m_params; }

private:
    bool CarryOut(uint32_t eventArgument);

    CScriptCommandInfo* m_pInfo;
    int32_t m_nTag;
    // Kept in the object rather than on the stack; the event lock keeps one command on one thread.
    std::list<CScriptCommand*>::iterator m_childCursor;
    std::list<CScriptCommand*> m_children;
    std::vector<CCommandParam> m_params;
};
