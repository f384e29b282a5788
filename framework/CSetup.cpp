// Default bodies of the setup interface: nothing found, nothing done.
#include "CSetup.h"

CSetup::~CSetup() = default;

void CSetup::OnNotifyA() {}
void CSetup::OnNotifyB() {}
void CSetup::OnNotifyC() {}
CModule* CSetup::FindModule(std::wstring) {
    return nullptr;
}
CSetupManager* CSetup::GetSetupManager() {
    return nullptr;
}
const wchar_t* CSetup::GetName() {
    return L"";
}
DGrabModule* CSetup::GetGrabModule() {
    return nullptr;
}
bool CSetup::IsActive() {
    return false;
}
void CSetup::ToggleGrabbing() {}
bool CSetup::IsGrabbing() {
    return false;
}

void CSetup::Reserved1() {}
void CSetup::Reserved2() {}
void CSetup::Reserved3() {}
void CSetup::Reserved8() {}
void CSetup::Reserved10() {}
void CSetup::Reserved11() {}
void CSetup::Reserved12() {}
void CSetup::Reserved13() {}
void CSetup::Reserved14() {}
void CSetup::Reserved15() {}
void CSetup::Reserved16() {}
void CSetup::Reserved17() {}
void CSetup::Reserved18() {}
void CSetup::Reserved19() {}
void CSetup::Reserved20() {}
void CSetup::Reserved21() {}
void CSetup::Reserved22() {}
void CSetup::Reserved23() {}
void CSetup::Reserved24() {}
void CSetup::Reserved25() {}
void CSetup::Reserved26() {}
void CSetup::Reserved28() {}
void CSetup::Reserved29() {}
void CSetup::Reserved30() {}
void CSetup::Reserved31() {}
void CSetup::Reserved32() {}
void CSetup::Reserved33() {}
void CSetup::Reserved34() {}
void CSetup::Reserved35() {}
void CSetup::Reserved36() {}
void CSetup::Reserved37() {}
void CSetup::Reserved38() {}
void CSetup::Reserved39() {}
void CSetup::Reserved40() {}
void CSetup::Reserved42() {}
void CSetup::Reserved43() {}
void CSetup::Reserved44() {}
void CSetup::Reserved45() {}
void CSetup::Reserved46() {}
void CSetup::Reserved47() {}
void CSetup::Reserved48() {}
void CSetup::Reserved49() {}
void CSetup::Reserved50() {}
void CSetup::Reserved51() {}
void CSetup::Reserved52() {}
void CSetup::Reserved53() {}
void CSetup::Reserved54() {}
void CSetup::Reserved55() {}
void CSetup::Reserved56() {}
void CSetup::Reserved57() {}
void CSetup::Reserved58() {}
void CSetup::Reserved59() {}
void CSetup::Reserved60() {}
void CSetup::Reserved61() {}
void CSetup::Reserved62() {}
void CSetup::Reserved63() {}
void CSetup::Reserved64() {}
void CSetup::Reserved65() {}
void CSetup::Reserved66() {}
void CSetup::Reserved67() {}
void CSetup::Reserved68() {}
void CSetup::Reserved69() {}
void CSetup::Reserved70() {}
void CSetup::Reserved71() {}
void CSetup::Reserved72() {}
void CSetup::Reserved73() {}
void CSetup::Reserved74() {}
void CSetup::Reserved75() {}
void CSetup::Reserved76() {}
void CSetup::Reserved77() {}
void CSetup::Reserved78() {}
void CSetup::Reserved79() {}
void CSetup::Reserved80() {}
void CSetup::Reserved81() {}
void CSetup::Reserved82() {}
void CSetup::Reserved83() {}
void CSetup::Reserved84() {}
void CSetup::Reserved85() {}
void CSetup::Reserved86() {}
void CSetup::Reserved87() {}
void CSetup::Reserved88() {}
void CSetup::Reserved89() {}
void CSetup::Reserved90() {}
void CSetup::Reserved91() {}
void CSetup::Reserved92() {}
void CSetup::Reserved93() {}
void CSetup::Reserved94() {}
void CSetup::Reserved95() {}
void CSetup::Reserved96() {}
void CSetup::Reserved97() {}
void CSetup::Reserved98() {}
void CSetup::Reserved99() {}
void CSetup::Reserved100() {}
void CSetup::Reserved101() {}
void CSetup::Reserved102() {}
void CSetup::Reserved103() {}
void CSetup::Reserved104() {}
void CSetup::Reserved106() {}
void CSetup::Reserved107() {}
void CSetup::Reserved108() {}
void CSetup::Reserved109() {}
void CSetup::Reserved110() {}
void CSetup::Reserved111() {}
void CSetup::Reserved112() {}
void CSetup::Reserved113() {}
void CSetup::Reserved114() {}
void CSetup::Reserved115() {}
void CSetup::Reserved116() {}
void CSetup::Reserved117() {}
void CSetup::Reserved118() {}
void CSetup::Reserved119() {}
void CSetup::Reserved120() {}
void CSetup::Reserved121() {}
void CSetup::Reserved122() {}
void CSetup::Reserved123() {}
void CSetup::Reserved124() {}
void CSetup::Reserved125() {}
void CSetup::Reserved126() {}
void CSetup::Reserved127() {}
void CSetup::Reserved128() {}
void CSetup::Reserved129() {}
void CSetup::Reserved130() {}
void CSetup::Reserved131() {}
void CSetup::Reserved132() {}
void CSetup::Reserved133() {}
void CSetup::Reserved134() {}
void CSetup::Reserved135() {}
void CSetup::Reserved136() {}
void CSetup::Reserved137() {}
void CSetup::Reserved138() {}
void CSetup::Reserved139() {}
void CSetup::Reserved140() {}
void CSetup::Reserved141() {}
void CSetup::Reserved142() {}
void CSetup::Reserved143() {}
void CSetup::Reserved144() {}
void CSetup::Reserved145() {}
void CSetup::Reserved146() {}
