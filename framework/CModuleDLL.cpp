// The module factory base and the library's factory pointer.
#include "CModuleDLL.h"

CModuleDLL* g_moduleDLL = nullptr;

CModuleDLL::CModuleDLL() {
    g_moduleDLL = this;
}

CModuleDLL::~CModuleDLL() = default;
