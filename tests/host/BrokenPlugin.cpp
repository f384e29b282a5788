// A plug-in library that breaks the loading contract, for the host's loader tests.
#if defined(_WIN32)
#define BROKEN_EXPORT extern "C" __declspec(dllexport)
#else
#define BROKEN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

class CModule;

BROKEN_EXPORT const wchar_t* GetDLLName() {
    return L"Broken.dll";
}
BROKEN_EXPORT const wchar_t* GetName() {
    return L"Broken";
}
BROKEN_EXPORT const wchar_t* GetInfo() {
    return L"A plug-in that cannot make its module.";
}
#if !defined(BROKEN_PLUGIN_WITHOUT_INITIALIZE)
BROKEN_EXPORT CModule* Initialize() {
    return nullptr;
}
#endif
