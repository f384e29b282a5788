// Command trees laid out flat, in the order a run visits them.
#include "CScriptRunPlan.h"

#include <stdexcept>

#include "CModule.h"
#include "CScriptCommand.h"
#include "CScriptCommandInfo.h"

void CScriptRunPlan::Build(std::list<CScriptCommand*>& commands, Position* cursor) {
    Clear();
    m_cursor = cursor;
    m_end = commands.end();
    struct Level {
        std::list<CScriptCommand*>* list;
        Position next;
        Position* cursor;
        uint32_t parent;
    };
    std::vector<Level> levels{{&commands, commands.begin(), cursor, kNoParent}};
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.list->end()) {
            levels.pop_back();
            continue;
        }
        if (m_steps.size() >= kNoParent) throw std::length_error("too many script commands");
        const Position position = level.next++;
        CScriptCommand* command = *position;
        const auto index = static_cast<uint32_t>(m_steps.size());
        const bool hasChildren = !command->m_children.empty();
        m_steps.push_back({command, command->m_pInfo, position, level.cursor, level.parent,
                           index + 1, level.next == level.list->end(), hasChildren});
        if (hasChildren) {
            levels.push_back({&command->m_children, command->m_children.begin(),
                              &command->m_childCursor, index});
        }
    }
    // Each subtree ends where the next step not below it begins.
    for (size_t i = m_steps.size(); i-- > 0;) {
        const Step& step = m_steps[i];
        if (step.parent != kNoParent && step.isLastChild) {
            m_steps[step.parent].skipTo = step.skipTo;
        }
    }
}

void CScriptRunPlan::Clear() {
    m_steps.clear();
    m_cursor = nullptr;
}

inline bool CScriptRunPlan::CarryOut(CScriptCommandInfo* info, CScriptCommand& command,
                                     uint32_t eventArgument) {
    CModule* module = info ? info->GetModule() : nullptr;
    return module && module->ExecuteCommand(info->GetId(), &command.m_params, eventArgument);
}

// After the last child's subtree, its parent's cursor reaches the end of its children, and so on
// up while the parent is itself a last child.
inline void CScriptRunPlan::CloseFinishedParents(const Step& step) {
    const Step* child = &step;
    while (child->isLastChild && child->parent != kNoParent) {
        CScriptCommand* parent = m_steps[child->parent].command;
        parent->m_childCursor = parent->m_children.end();
        child = &m_steps[child->parent];
    }
}

bool CScriptRunPlan::RunTree(CScriptCommand& root, uint32_t eventArgument) {
    if (!CarryOut(root.m_pInfo, root, eventArgument)) return false;
    CScriptRunPlan children;
    children.Build(root.m_children, &root.m_childCursor);
    children.Run(eventArgument);
    return true;
}

void CScriptRunPlan::Run(uint32_t eventArgument) {
    const size_t count = m_steps.size();
    size_t i = 0;
    while (i < count) {
        const Step& step = m_steps[i];
        *step.cursor = step.position;
        if (!CarryOut(step.info, *step.command, eventArgument)) {
            i = step.skipTo;
        } else if (step.hasChildren) {
            ++i;
            continue;
        } else {
            step.command->m_childCursor = step.command->m_children.end();
            ++i;
        }
        CloseFinishedParents(step);
    }
    if (m_cursor) *m_cursor = m_end;
}
