// The host object that docks modules' dialogs into the host's main window.
//
// Binary interface: the order of the virtual slots below is shared with the host, which
// implements this class; never insert, remove or reorder a virtual function. The virtual
// destructor is slot 0 on the host's compiler; GCC and the Itanium C++ ABI give it two vtable
// entries where MSVC gives one, so on this compiler AddDialog (slot 11) and RemoveDialog
// (slot 12) sit one entry further on. Slots 1 to 10 are placeholders with empty bodies.
#pragma once

class CDockedDlg;

class CDialogHost {
public:
    virtual ~CDialogHost();  // slot 0

    virtual void Reserved1();
    virtual void Reserved2();
    virtual void Reserved3();
    virtual void Reserved4();
    virtual void Reserved5();
    virtual void Reserved6();
    virtual void Reserved7();
    virtual void Reserved8();
    virtual void Reserved9();
    virtual void Reserved10();
    // Shows the module's dialog; the dialog stays the module's.
    virtual void AddDialog(CDockedDlg* dialog);  // slot 11
    // Takes the dialog back; afterwards the host no longer touches it.
    virtual void RemoveDialog(CDockedDlg* dialog);  // slot 12

protected:
    CDialogHost() = default;
    CDialogHost(const CDialogHost&) = delete;
    CDialogHost& operator=(const CDialogHost&) = delete;
};
