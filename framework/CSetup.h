// The host's setup object, as modules and the setup manager see it.
//
// Binary interface: the order of the virtual slots below is shared with the host, which
// implements this class; never insert, remove or reorder a virtual function. Slots count from 0
// as the host's compiler lays them out: the virtual destructor is slot 0 and every other
// function keeps the number in its comment. GCC and the Itanium C++ ABI give a virtual
// destructor two vtable entries where MSVC gives one, so on this compiler each slot after the
// destructor sits one entry further on. Slots a module does not use are placeholders
// (ReservedN) with empty bodies; a host implements the ones it needs. The named operations
// answer "nothing" by default (null, false, an empty name), so a partial host stays safe.
#pragma once

#include <string>

class CModule;
class CSetupManager;
class DGrabModule;

class CSetup {
public:
    virtual ~CSetup();  // slot 0

    virtual void Reserved1();
    virtual void Reserved2();
    virtual void Reserved3();
    virtual void OnNotifyA();  // slot 4
    virtual void OnNotifyB();  // slot 5
    // The module of exactly that name in this setup, or null.
    virtual CModule* FindModule(std::wstring name);  // slot 6
    // The one host-wide setup manager.
    virtual CSetupManager* GetSetupManager();  // slot 7
    virtual void Reserved8();
    // The setup's name, owned by the setup; the first placeholder of profile sections.
    virtual const wchar_t* GetName();  // slot 9
    virtual void Reserved10();
    virtual void Reserved11();
    virtual void Reserved12();
    virtual void Reserved13();
    virtual void Reserved14();
    virtual void Reserved15();
    virtual void Reserved16();
    virtual void Reserved17();
    virtual void Reserved18();
    virtual void Reserved19();
    virtual void Reserved20();
    virtual void Reserved21();
    virtual void Reserved22();
    virtual void Reserved23();
    virtual void Reserved24();
    virtual void Reserved25();
    virtual void Reserved26();
    virtual void OnNotifyC();  // slot 27
    virtual void Reserved28();
    virtual void Reserved29();
    virtual void Reserved30();
    virtual void Reserved31();
    virtual void Reserved32();
    virtual void Reserved33();
    virtual void Reserved34();
    virtual void Reserved35();
    virtual void Reserved36();
    virtual void Reserved37();
    virtual void Reserved38();
    virtual void Reserved39();
    virtual void Reserved40();
    // The setup's grabber, or null.
    virtual DGrabModule* GetGrabModule();  // slot 41
    virtual void Reserved42();
    virtual void Reserved43();
    virtual void Reserved44();
    virtual void Reserved45();
    virtual void Reserved46();
    virtual void Reserved47();
    virtual void Reserved48();
    virtual void Reserved49();
    virtual void Reserved50();
    virtual void Reserved51();
    virtual void Reserved52();
    virtual void Reserved53();
    virtual void Reserved54();
    virtual void Reserved55();
    virtual void Reserved56();
    virtual void Reserved57();
    virtual void Reserved58();
    virtual void Reserved59();
    virtual void Reserved60();
    virtual void Reserved61();
    virtual void Reserved62();
    virtual void Reserved63();
    virtual void Reserved64();
    virtual void Reserved65();
    virtual void Reserved66();
    virtual void Reserved67();
    virtual void Reserved68();
    virtual void Reserved69();
    virtual void Reserved70();
    virtual void Reserved71();
    virtual void Reserved72();
    virtual void Reserved73();
    virtual void Reserved74();
    virtual void Reserved75();
    virtual void Reserved76();
    virtual void Reserved77();
    virtual void Reserved78();
    virtual void Reserved79();
    virtual void Reserved80();
    virtual void Reserved81();
    virtual void Reserved82();
    virtual void Reserved83();
    virtual void Reserved84();
    virtual void Reserved85();
    virtual void Reserved86();
    virtual void Reserved87();
    virtual void Reserved88();
    virtual void Reserved89();
    virtual void Reserved90();
    virtual void Reserved91();
    virtual void Reserved92();
    virtual void Reserved93();
    virtual void Reserved94();
    virtual void Reserved95();
    virtual void Reserved96();
    virtual void Reserved97();
    virtual void Reserved98();
    virtual void Reserved99();
    virtual void Reserved100();
    virtual void Reserved101();
    virtual void Reserved102();
    virtual void Reserved103();
    virtual void Reserved104();
    // Whether this is the host's active setup.
    virtual bool IsActive();  // slot 105
    virtual void Reserved106();
    virtual void Reserved107();
    virtual void Reserved108();
    virtual void Reserved109();
    virtual void Reserved110();
    virtual void Reserved111();
    virtual void Reserved112();
    virtual void Reserved113();
    virtual void Reserved114();
    virtual void Reserved115();
    virtual void Reserved116();
    virtual void Reserved117();
    virtual void Reserved118();
    virtual void Reserved119();
    virtual void Reserved120();
    virtual void Reserved121();
    virtual void Reserved122();
    virtual void Reserved123();
    virtual void Reserved124();
    virtual void Reserved125();
    virtual void Reserved126();
    virtual void Reserved127();
    virtual void Reserved128();
    virtual void Reserved129();
    virtual void Reserved130();
    virtual void Reserved131();
    virtual void Reserved132();
    virtual void Reserved133();
    virtual void Reserved134();
    virtual void Reserved135();
    virtual void Reserved136();
    virtual void Reserved137();
    virtual void Reserved138();
    virtual void Reserved139();
    virtual void Reserved140();
    virtual void Reserved141();
    virtual void Reserved142();
    virtual void Reserved143();
    virtual void Reserved144();
    virtual void Reserved145();
    virtual void Reserved146();
    // Called before and after a capture-region change while grabbing; the pair restores the
    // grabbing state.
    virtual void ToggleGrabbing();  // slot 147
    virtual bool IsGrabbing();      // slot 148

protected:
    CSetup() = default;
    CSetup(const CSetup&) = delete;
    CSetup& operator=(const CSetup&) = delete;
};
