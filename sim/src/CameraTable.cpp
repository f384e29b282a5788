// What a camera is: rows looked up by name, window-mode sizes and command roles.
#include "CameraTable.h"

#include <utility>

namespace pfsim {

std::vector<WindowSize> DefaultWindowModes() {
    return {{1024, 1024}, {1024, 512}, {1024, 256}, {512, 512}};
}

std::shared_ptr<const CameraTable> CameraTable::Empty() {
    static const auto empty = std::make_shared<const CameraTable>();
    return empty;
}

bool CameraTable::Add(std::optional<PropertyDef> def) {
    const int slot = static_cast<int>(m_slots.size());
    if (def) {
        if (!m_index.emplace(def->name, slot).second) return false;
        const std::pair<std::string_view, int*> window[] = {
            {names::kWindowMode, &m_window.mode}, {names::kWindowW, &m_window.w},
            {names::kWindowH, &m_window.h},       {names::kWindowX, &m_window.x},
            {names::kWindowY, &m_window.y},       {names::kWindowWMax, &m_window.wMax},
            {names::kWindowHMax, &m_window.hMax}};
        for (const auto& [name, at] : window) {
            if (def->name == name) *at = slot;
        }
    }
    m_slots.push_back(std::move(def));
    m_commands.push_back(Command::None);
    return true;
}

void CameraTable::SetCommand(int slot, Command role) {
    m_commands.at(static_cast<size_t>(slot)) = role;
}

const PropertyDef* CameraTable::At(size_t index) const {
    if (index >= m_slots.size() || !m_slots[index]) return nullptr;
    return &*m_slots[index];
}

int CameraTable::Find(std::string_view name) const {
    auto it = m_index.find(name);
    return it == m_index.end() ? -1 : it->second;
}

Command CameraTable::CommandAt(int slot) const {
    return slot >= 0 && static_cast<size_t>(slot) < m_commands.size()
               ? m_commands[static_cast<size_t>(slot)]
               : Command::None;
}

// Modes without a size of their own (a model may give "Window.Mode" a wider range) have none.
const WindowSize* CameraTable::WindowModeSize(double mode) const {
    if (!(mode >= 0 && mode < static_cast<double>(m_windowModes.size()))) return nullptr;
    return &m_windowModes[static_cast<size_t>(mode)];
}

}  // namespace pfsim
