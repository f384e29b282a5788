// The module factory.
#include "AmbrelControlDLL.h"

#include <exception>

#include "AmbrelControlModule.h"

const wchar_t* CAmbrelControlDLL::GetName() {
    return CAmbrelControlModule::kName;
}

const wchar_t* CAmbrelControlDLL::GetDLLName() {
    return CAmbrelControlModule::kFileName;
}

const wchar_t* CAmbrelControlDLL::GetInfo() {
    return kInfo;
}

// The host calls this across the library boundary, which no exception may cross; only the
// standard library's allocation and length errors can arise here.
CModule* CAmbrelControlDLL::Initialize() {
    try {
        return new CAmbrelControlModule();
    } catch (const std::exception&) {
        return nullptr;
    }
}
