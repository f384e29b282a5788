// One command instance in a script event's command tree; runs through its module and then,
// if the module carried it out, its nested commands.
#include "CScriptCommand.h"

#include <array>
#include <cstddef>
#include <vector>

#include "CModule.h"
#include "CScriptCommandInfo.h"

namespace {

// The commands whose children a walk is running, innermost last. Scripts nest a few levels, so
// those live on the stack; only a deeper chain takes memory from the heap.
class OpenCommands {
public:
    bool Empty() const { return m_size == 0; }
    CScriptCommand* Innermost() const {
        return m_size <= m_near.size() ? m_near[m_size - 1] : m_far.back();
    }
    void Push(CScriptCommand* command) {
        if (m_size < m_near.size()) {
            m_near[m_size] = command;
        } else {
            m_far.push_back(command);
        }
        ++m_size;
    }
    void Pop() {
        if (m_size > m_near.size()) m_far.pop_back();
        --m_size;
    }

private:
    std::array<CScriptCommand*, 32> m_near;
    std::vector<CScriptCommand*> m_far;
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
    RunChildren(eventArgument);
    return true;
}

inline bool CScriptCommand::CarryOut(uint32_t eventArgument) {
    CModule* module = m_pInfo ? m_pInfo->GetModule() : nullptr;
    return module && module->ExecuteCommand(m_pInfo->GetId(), &m_params, eventArgument);
}

// Walks the live lists, however they were built, so a child added while the tree runs is run
// too. Each open command's cursor marks the child being run; a finished command's cursor is left
// at the end of its children.
void CScriptCommand::RunChildren(uint32_t eventArgument) {
    OpenCommands open;
    m_childCursor = m_children.begin();
    open.Push(this);
    while (!open.Empty()) {
        CScriptCommand* parent = open.Innermost();
        if (parent->m_childCursor == parent->m_children.end()) {
            open.Pop();
            if (!open.Empty()) ++open.Innermost()->m_childCursor;
            continue;
        }
        CScriptCommand* child = *parent->m_childCursor;
        if (child->CarryOut(eventArgument)) {
            child->m_childCursor = child->m_children.begin();
            open.Push(child);
        } else {
            ++parent->m_childCursor;
        }
    }
}
