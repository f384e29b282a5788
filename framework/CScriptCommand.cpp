// One command instance in a script event's command tree; runs through its module and then,
// if the module carried it out, its nested commands.
#include "CScriptCommand.h"

#include "CModule.h"
#include "CScriptCommandInfo.h"

#include <iterator>

namespace {

// A hint only; a compiler without the builtin goes without it.
inline void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

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
    // Start fetching the first child while the module runs this command.
    if (!m_children.empty()) Prefetch(m_children.front());
    CModule* module = m_pInfo ? m_pInfo->GetModule() : nullptr;
    if (!module || !module->ExecuteCommand(m_pInfo->GetId(), &m_params, eventArgument))
        return false;
    for (m_childCursor = m_children.begin(); m_childCursor != m_children.end(); ++m_childCursor) {
        // Fetch the next sibling while this child runs: walking the tree is a chain of
        // dependent loads, and the commands lie wherever the compile allocated them.
        const auto next = std::next(m_childCursor);
        if (next != m_children.end()) Prefetch(*next);
        (*m_childCursor)->Execute(eventArgument);
    }
    return true;
}
