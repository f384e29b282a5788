// One command instance in a script event's command tree; runs through its module and then,
// if the module carried it out, its nested commands.
#include "CScriptCommand.h"

#include <array>
#include <cstddef>
#include <vector>

#include "CModule.h"
#include "CScriptCommandInfo.h"

namespace {

using Position = std::list<CScriptCommand*>::iterator;

// One list a walk is running: where it is, where the list ends, and the owner's cursor over it.
struct OpenList {
    Position at;
    Position end;
    Position* cursor;
};

// The lists a walk is running, innermost last. Scripts nest a few levels, so those live on the
// stack; only a deeper chain takes memory from the heap. The walk keeps its places here, where a
// command's module cannot reach them, and writes them to the owners' cursors as it moves.
class OpenLists {
public:
    bool Empty() const { return m_size == 0; }
    OpenList& Innermost() { return m_size <= m_near.size() ? m_near[m_size - 1] : m_far.back(); }
    void Open(std::list<CScriptCommand*>& list, Position* cursor) {
        const OpenList opened{list.begin(), list.end(), cursor};
        if (m_size < m_near.size()) {
            m_near[m_size] = opened;
        } else {
            m_far.push_back(opened);
        }
        ++m_size;
    }
    void Close() {
        if (m_size > m_near.size()) m_far.pop_back();
        --m_size;
    }

private:
    std::array<OpenList, 32> m_near;
    std::vector<OpenList> m_far;
    size_t m_size = 0;
};

}  // namespace

CScriptCommand::CScriptCommand() : CScriptCommand(nullptr) {}

CScriptCommand::CScriptCommand(CScriptCommandInfo* info) : m_pInfo(info), m_nTag(0) {
    // The list is built after the cursor member, so the cursor is placed here.
    m_childCursor = m_children.begin();
}

CScriptCommand::~CScriptCommand() {
    // Flattened, so a long chain of nested lines does not recurse once per level.
    std::list<CScriptCommand*> pending;
    pending.splice(pending.end(), m_children);
    while (!pending.empty()) {
        CScriptCommand* command = pending.front();
        pending.pop_front();
        pending.splice(pending.end(), command->m_children);
        delete command;
    }
}

void CScriptCommand::AddChild(CScriptCommand* command, uint32_t depth) {
    CScriptCommand* parent = this;
    while (depth != 0 && !parent->m_children.empty()) {
        parent = parent->m_children.back();
        --depth;
    }
    parent->m_children.push_back(command);
}

bool CScriptCommand::Execute(uint32_t eventArgument) {
    if (!CarryOut(eventArgument)) return false;
    RunList(m_children, m_childCursor, eventArgument);
    return true;
}

inline bool CScriptCommand::CarryOut(uint32_t eventArgument) {
    CModule* module = m_pInfo ? m_pInfo->GetModule() : nullptr;
    return module && module->ExecuteCommand(m_pInfo->GetId(), &m_params, eventArgument);
}

// Walks the live lists, however they were built, so a command added while the tree runs is run
// too. A list's cursor marks the command being run and is left at the list's end.
void CScriptCommand::RunList(std::list<CScriptCommand*>& list,
                             std::list<CScriptCommand*>::iterator& cursor, uint32_t eventArgument) {
    OpenLists open;
    open.Open(list, &cursor);
    while (!open.Empty()) {
        OpenList& innermost = open.Innermost();
        if (innermost.at == innermost.end) {
            *innermost.cursor = innermost.end;
            open.Close();
            if (!open.Empty()) ++open.Innermost().at;
            continue;
        }
        *innermost.cursor = innermost.at;
        CScriptCommand* command = *innermost.at;
        if (!command->CarryOut(eventArgument)) {
            ++innermost.at;
        } else if (command->m_children.empty()) {
            command->m_childCursor = command->m_children.end();
            ++innermost.at;
        } else {
            open.Open(command->m_children, &command->m_childCursor);
        }
    }
}
