// What a camera is: its property table, the sizes its window modes select and what its commands do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pfsim {

enum class PropertyType { Bare, Int, Real };

// One row of the table. Numbers are held as double: integers stay exact, reals are kept at
// single precision (every value, bound and increment of a real is a float widened to double).
struct PropertyDef {
    std::string name;
    PropertyType type = PropertyType::Bare;
    bool readOnly = false;
    double value = 0;  // the model's value
    double min = 0;
    double max = 0;
    double increment = 0;             // 0: no grid (reals only); integers have 1 or more
    std::optional<double> readFault;  // every read answers this instead of the held value
};

// What a write of 1 to a command property does; the property keeps its own value.
enum class Command { None, MaxWindow, StoreDefaults, Reset, FactoryReset };

struct WindowSize {
    double w = 0;
    double h = 0;
};

// The window sizes of "Window.Mode" 0 to 3 when a model gives none.
std::vector<WindowSize> DefaultWindowModes();

// Slots of the window properties the camera keeps consistent; -1 when not listed.
struct WindowSlots {
    int mode = -1, w = -1, h = -1, x = -1, y = -1, wMax = -1, hMax = -1;
};

// The immutable description of one camera, shared by every camera built from it, so the names it
// hands out stay valid for as long as the model is loaded.
class CameraTable {
public:
    static std::shared_ptr<const CameraTable> Empty();

    // Appends a row (nullopt: a null row); false when the name is already listed.
    bool Add(std::optional<PropertyDef> def);
    // Gives the command `role` to the property at `slot`.
    void SetCommand(int slot, Command role);
    void SetWindowModes(std::vector<WindowSize> sizes) { m_windowModes = std::move(sizes); }

    size_t Size() const { return m_slots.size(); }
    // The row at `index`, or null for a null slot and beyond the end.
    const PropertyDef* At(size_t index) const;
    // The slot of `name`, or -1 when the camera does not list it.
    int Find(std::string_view name) const;
    Command CommandAt(int slot) const;
    // The window size a "Window.Mode" value selects, or null when the mode has none.
    const WindowSize* WindowModeSize(double mode) const;
    const WindowSlots& Window() const { return m_window; }

private:
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    std::vector<std::optional<PropertyDef>> m_slots;
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> m_index;
    std::vector<Command> m_commands;  // one per slot
    std::vector<WindowSize> m_windowModes = DefaultWindowModes();
    WindowSlots m_window;
};

// Names the camera's firmware gives a meaning to.
namespace names {
inline constexpr std::string_view kWindowMode = "Window.Mode";
inline constexpr std::string_view kWindowW = "Window.W";
inline constexpr std::string_view kWindowH = "Window.H";
inline constexpr std::string_view kWindowX = "Window.X";
inline constexpr std::string_view kWindowY = "Window.Y";
inline constexpr std::string_view kWindowWMax = "Window.W.Max";
inline constexpr std::string_view kWindowHMax = "Window.H.Max";
inline constexpr std::string_view kWindowMax = "Window.Max";
inline constexpr std::string_view kStoreDefaults = "StoreDefaults";
inline constexpr std::string_view kFactoryReset = "FactoryReset";
inline constexpr std::string_view kReset = "Reset";
}  // namespace names

struct NamedCommand {
    std::string_view name;
    Command role;
};
// The commands of a camera whose model gives none: those of these names that it lists.
inline constexpr NamedCommand kDefaultCommands[] = {{names::kWindowMax, Command::MaxWindow},
                                                    {names::kStoreDefaults, Command::StoreDefaults},
                                                    {names::kReset, Command::Reset},
                                                    {names::kFactoryReset, Command::FactoryReset}};

}  // namespace pfsim
