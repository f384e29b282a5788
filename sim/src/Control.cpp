// The control interface over the simulator: what a host reads and changes of its cameras.
#include <sim/CameraSim.h>

#include "Simulator.h"

namespace pfsim {
namespace {

class SimulatorControl final : public CameraControl {
public:
    LoadResult Load(const std::string& path, std::string* why) override {
        std::string json;
        if (!ReadModelFile(path, &json, why)) return LoadResult::Unreadable;
        return LoadModelString(json, why) ? LoadResult::Loaded : LoadResult::Invalid;
    }

    void LoadDefault() override { LoadDefaultModel(); }

    bool Check(const std::string& path, std::string* error) const override {
        return CheckModelFile(path, error);
    }

    int32_t PortCount() const override {
        Sim& s = S();
        std::lock_guard lock(s.mutex);
        return s.PortCount();
    }

    bool IsPortOpen(int32_t port) const override { return pfsim::IsPortOpen(port); }

    std::vector<Property> Properties(int32_t port) const override {
        Sim& s = S();
        std::lock_guard lock(s.mutex);
        std::vector<Property> properties;
        const Port* p = s.At(port);
        if (!p) return properties;
        const CameraTable& table = p->camera.Table();
        for (size_t slot = 0; slot < table.Size(); ++slot) {
            const PropertyDef* def = table.At(slot);
            if (def && def->type != PropertyType::Bare)
                properties.push_back({def->name, def->type == PropertyType::Int});
        }
        return properties;
    }

    std::optional<int32_t> Baud(int32_t port) const override {
        Sim& s = S();
        std::lock_guard lock(s.mutex);
        const Port* p = s.At(port);
        if (!p || p->setup->baud <= 0) return std::nullopt;
        return p->setup->baud;
    }

    std::optional<double> Get(int32_t port, const std::string& name) const override {
        return GetProperty(port, name);
    }

    bool Set(int32_t port, const std::string& name, double value) override {
        return SetProperty(port, name, value);
    }

    void ObserveWrites(WriteObserver observer) override { SetWriteObserver(std::move(observer)); }
    void ObservePorts(PortObserver observer) override { SetPortObserver(std::move(observer)); }
    void EnableCallLog(bool on) override { pfsim::EnableCallLog(on); }

    std::vector<Call> TakeCalls(uint64_t* made) override {
        Sim& s = S();
        std::lock_guard lock(s.mutex);
        if (made) *made = s.log.Total();
        std::vector<Call> calls = s.log.Calls();
        s.log.Clear();
        return calls;
    }

    void EnableDelays(bool on) override { pfsim::EnableDelays(on); }
};

}  // namespace

CameraControl& Control() {
    static SimulatorControl control;
    return control;
}

}  // namespace pfsim
