// The per-library module factory the host asks for a library's names and its module objects.
//
// Binary interface: the order of the virtual slots is shared with the host: slot 0 the virtual
// destructor, then GetName, GetDLLName, GetInfo and Initialize (slots 1 to 4). GCC and the
// Itanium C++ ABI give a virtual destructor two vtable entries where MSVC gives one, so on this
// compiler each slot after the destructor sits one entry further on. The class has no data.
#pragma once

class CModule;

class CModuleDLL {
public:
    // Records the new factory in g_moduleDLL.
    CModuleDLL();
    virtual ~CModuleDLL();
    CModuleDLL(const CModuleDLL&) = delete;
    CModuleDLL& operator=(const CModuleDLL&) = delete;

    // Static texts owned by the library; the caller never frees them.
    virtual const wchar_t* GetName() = 0;     // slot 1: display name
    virtual const wchar_t* GetDLLName() = 0;  // slot 2: library file name
    virtual const wchar_t* GetInfo() = 0;     // slot 3: description
    // A new module owned by the caller, destroyed through its virtual destructor; null when it
    // cannot be created.
    virtual CModule* Initialize() = 0;  // slot 4
};

// The library's factory: the last one constructed, null before. Destroying it does not clear
// the pointer, since the library's exports forward through it until unload.
extern CModuleDLL* g_moduleDLL;
