// One command instance in a script event's command tree; runs through its module and then,
// if the module carried it out, its nested commands.
#include "CScriptCommand.h"

#include "CScriptRunPlan.h"

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
    return CScriptRunPlan::RunTree(*this, eventArgument);
}
