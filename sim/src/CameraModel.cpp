// One simulated camera's behaviour: writes clamped, snapped and acted on as its firmware would.
#include "CameraModel.h"

#include <algorithm>
#include <cmath>

namespace pfsim {

CameraModel::CameraModel(std::shared_ptr<const CameraTable> table)
    : m_table(std::move(table)), m_window(m_table->Window()) {
    RestoreModelValues();
}

void CameraModel::RestoreModelValues() {
    m_values.assign(m_table->Size(), 0.0);
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (const PropertyDef* def = m_table->At(i)) m_values[i] = def->value;
    }
    m_kept.reset();
}

Status CameraModel::Read(std::string_view name, double& value) const {
    const int slot = m_table->Find(name);
    if (slot < 0) return Status::Unknown;
    const PropertyDef& def = Def(slot);
    if (def.type == PropertyType::Bare) return Status::NoValue;
    value = def.readFault ? *def.readFault : m_values[static_cast<size_t>(slot)];
    return Status::Ok;
}

Status CameraModel::Held(std::string_view name, double& value) const {
    const int slot = m_table->Find(name);
    if (slot < 0) return Status::Unknown;
    if (Def(slot).type == PropertyType::Bare) return Status::NoValue;
    value = m_values[static_cast<size_t>(slot)];
    return Status::Ok;
}

Status CameraModel::Write(std::string_view name, double value) {
    return Apply(name, value, false);
}

Status CameraModel::Force(std::string_view name, double value) {
    return Apply(name, value, true);
}

Status CameraModel::Apply(std::string_view name, double value, bool force) {
    const int slot = m_table->Find(name);
    if (slot < 0) return Status::Unknown;
    const PropertyDef& def = Def(slot);
    if (def.type == PropertyType::Bare) return Status::NoValue;
    if (def.readOnly && !force) return Status::ReadOnly;
    if (std::isnan(value)) return Status::NotANumber;

    // Commands are momentary: a write of 1 acts, and the property keeps its value.
    if (const Command role = m_table->CommandAt(slot); role != Command::None) {
        if (value == 1) RunCommand(role);
        return Status::Ok;
    }
    const WindowSlots& sp = m_window;
    double& held = m_values[static_cast<size_t>(slot)];
    if (slot == sp.w || slot == sp.h) {
        held = Fit(slot, value, SizeMax(slot, slot == sp.w ? sp.wMax : sp.hMax));
        FitOffsets();
    } else if (slot == sp.x) {
        held = Fit(slot, value, OffsetMax(sp.x, sp.w, sp.wMax));
    } else if (slot == sp.y) {
        held = Fit(slot, value, OffsetMax(sp.y, sp.h, sp.hMax));
    } else {
        held = Fit(slot, value, def.max);
        if (slot == sp.mode) {
            ApplyWindowMode(held);
        } else if (slot == sp.wMax || slot == sp.hMax) {
            FitWindow();
        }
    }
    return Status::Ok;
}

void CameraModel::RunCommand(Command role) {
    switch (role) {
        case Command::None:
            break;
        case Command::MaxWindow:
            MaximiseWindow();
            break;
        case Command::StoreDefaults:
            m_kept = m_values;
            break;
        case Command::Reset:
            if (m_kept) {
                m_values = *m_kept;
            } else {
                RestoreModelValues();
            }
            break;
        case Command::FactoryReset:
            RestoreModelValues();
            break;
    }
}

// Clamps into [min, hi] and snaps to the nearest step of the increment counted from min,
// stepping down when the nearest step lies above hi.
double CameraModel::Fit(int slot, double value, double hi) const {
    const PropertyDef& def = Def(slot);
    const double lo = def.min;
    hi = std::max(lo, hi);
    double v = std::clamp(value, lo, hi);
    if (def.increment > 0) {
        const double snapped = lo + std::floor((v - lo) / def.increment + 0.5) * def.increment;
        v = snapped > hi ? snapped - def.increment : snapped;
    }
    if (def.type == PropertyType::Real) v = static_cast<double>(static_cast<float>(v));
    return v;
}

// The largest size the sensor allows: the size's own maximum, lowered by "Window.W.Max" or
// "Window.H.Max" when the camera lists it.
double CameraModel::SizeMax(int size, int sizeMax) const {
    double hi = Def(size).max;
    if (sizeMax >= 0) hi = std::min(hi, m_values[static_cast<size_t>(sizeMax)]);
    return std::max(Def(size).min, hi);
}

double CameraModel::OffsetMax(int offset, int size, int sizeMax) const {
    double hi = Def(offset).max;
    if (size >= 0) hi = std::min(hi, SizeMax(size, sizeMax) - m_values[static_cast<size_t>(size)]);
    return hi;
}

void CameraModel::FitOffsets() {
    const WindowSlots& sp = m_window;
    const int axes[2][3] = {{sp.x, sp.w, sp.wMax}, {sp.y, sp.h, sp.hMax}};
    for (const auto& [offset, size, sizeMax] : axes) {
        if (offset < 0) continue;
        double& held = m_values[static_cast<size_t>(offset)];
        held = Fit(offset, held, OffsetMax(offset, size, sizeMax));
    }
}

void CameraModel::FitWindow() {
    const WindowSlots& sp = m_window;
    const int axes[2][2] = {{sp.w, sp.wMax}, {sp.h, sp.hMax}};
    for (const auto& [size, sizeMax] : axes) {
        if (size < 0) continue;
        double& held = m_values[static_cast<size_t>(size)];
        held = Fit(size, held, SizeMax(size, sizeMax));
    }
    FitOffsets();
}

// Modes without a size of their own keep the window.
void CameraModel::ApplyWindowMode(double mode) {
    const WindowSize* size = m_table->WindowModeSize(mode);
    if (!size) return;
    const WindowSlots& sp = m_window;
    if (sp.w >= 0) m_values[static_cast<size_t>(sp.w)] = Fit(sp.w, size->w, SizeMax(sp.w, sp.wMax));
    if (sp.h >= 0) m_values[static_cast<size_t>(sp.h)] = Fit(sp.h, size->h, SizeMax(sp.h, sp.hMax));
    FitOffsets();
}

void CameraModel::MaximiseWindow() {
    const WindowSlots& sp = m_window;
    const int axes[2][3] = {{sp.w, sp.wMax, sp.x}, {sp.h, sp.hMax, sp.y}};
    for (const auto& [size, sizeMax, offset] : axes) {
        if (size >= 0) {
            const double hi = SizeMax(size, sizeMax);
            m_values[static_cast<size_t>(size)] = Fit(size, hi, hi);
        }
        if (offset >= 0) {
            m_values[static_cast<size_t>(offset)] =
                Fit(offset, 0, OffsetMax(offset, size, sizeMax));
        }
    }
}

std::optional<std::pair<int, double>> CameraModel::FirstUnfittedWindowValue() const {
    CameraModel fitted = *this;
    fitted.FitWindow();
    const WindowSlots& sp = m_window;
    for (int slot : {sp.w, sp.h, sp.x, sp.y}) {
        if (slot < 0) continue;
        const double now = m_values[static_cast<size_t>(slot)];
        const double then = fitted.m_values[static_cast<size_t>(slot)];
        if (now != then) return std::pair{slot, then};
    }
    return std::nullopt;
}

}  // namespace pfsim
