// The process-wide dialog template registry.
#include <map>
#include <mutex>

#include "ui/Template.h"

namespace ui {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<UINT, std::shared_ptr<const DialogTemplate>> templates;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry;  // plug-ins register from static initialisers
    return *registry;
}

}  // namespace

void RegisterDialogTemplate(DialogTemplate dialogTemplate) {
    auto shared = std::make_shared<const DialogTemplate>(std::move(dialogTemplate));
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.templates[shared->id] = std::move(shared);
}

void UnregisterDialogTemplate(UINT id) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.templates.erase(id);
}

std::shared_ptr<const DialogTemplate> FindDialogTemplate(UINT id) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    auto it = r.templates.find(id);
    return it == r.templates.end() ? nullptr : it->second;
}

}  // namespace ui
