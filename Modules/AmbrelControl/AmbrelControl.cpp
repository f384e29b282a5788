// The library's four exported entry points and its one module factory object.
#include "AmbrelControlDLL.h"
#include "AmbrelControlDlg.h"
#include "RegisteredMessages.h"

#if defined(_WIN32)
#define AMBREL_EXPORT __declspec(dllexport)
#else
#define AMBREL_EXPORT __attribute__((visibility("default")))
#endif

namespace {

// Built during the library's static initialisation, with the messages registered above; the
// platform layer is one shared library, so the host's application object and its profile are
// the ones this library reaches, and the templates registered here are the ones the host's
// window system builds the module's dialog from.
struct LibraryState {
    LibraryState() { CAmbrelControlDlg::RegisterTemplates(); }
    CAmbrelControlDLL factory;
};
LibraryState g_library;

}  // namespace

extern "C" {

AMBREL_EXPORT const wchar_t* GetDLLName() {
    return g_moduleDLL->GetDLLName();
}

AMBREL_EXPORT const wchar_t* GetName() {
    return g_moduleDLL->GetName();
}

AMBREL_EXPORT const wchar_t* GetInfo() {
    return g_moduleDLL->GetInfo();
}

AMBREL_EXPORT CModule* Initialize() {
    return g_moduleDLL->Initialize();
}

}  // extern "C"
