// Command trees laid out flat, in the order a run visits them, so that running them walks one
// array instead of chasing list nodes from command to command, and nesting costs no stack.
// Built from trees that stay as they are until the plan is cleared or built again.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

class CScriptCommand;
class CScriptCommandInfo;

class CScriptRunPlan {
public:
    using Position = std::list<CScriptCommand*>::iterator;

    // Lays out every tree of `commands`; `cursor` is the owner's cursor over that list, moved as
    // each command of it runs and left at the list's end when the run is over.
    void Build(std::list<CScriptCommand*>& commands, Position* cursor);
    void Clear();

    // Runs `root` and, if its module carried it out, its children as Run does; answers whether
    // the module carried it out.
    static bool RunTree(CScriptCommand& root, uint32_t eventArgument);

    // Runs each command of the list and, under a command its module carried out, its children,
    // first to last; moves every command's child cursor as it goes.
    void Run(uint32_t eventArgument);

private:
    struct Step {
        CScriptCommand* command;
        CScriptCommandInfo* info;  // the command's own, kept here so a run need not load it
        Position position;         // the command's place in its parent's list
        Position* cursor;          // the parent's cursor over that list
        uint32_t parent;           // index of the parent's step; kNoParent for the listed commands
        uint32_t skipTo;           // index of the first step after the command's subtree
        bool isLastChild;
        bool hasChildren;
    };
    static constexpr uint32_t kNoParent = UINT32_MAX;

    static bool CarryOut(CScriptCommandInfo* info, CScriptCommand& command, uint32_t eventArgument);
    void CloseFinishedParents(const Step& step);

    std::vector<Step> m_steps;
    Position* m_cursor = nullptr;  // the owner's, left at m_end after a run
    Position m_end;
};
