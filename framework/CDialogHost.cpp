// Default bodies of the dialog host interface: a host that docks nothing.
#include "CDialogHost.h"

CDialogHost::~CDialogHost() = default;

void CDialogHost::AddDialog(CDockedDlg*) {}
void CDialogHost::RemoveDialog(CDockedDlg*) {}

void CDialogHost::Reserved1() {}
void CDialogHost::Reserved2() {}
void CDialogHost::Reserved3() {}
void CDialogHost::Reserved4() {}
void CDialogHost::Reserved5() {}
void CDialogHost::Reserved6() {}
void CDialogHost::Reserved7() {}
void CDialogHost::Reserved8() {}
void CDialogHost::Reserved9() {}
void CDialogHost::Reserved10() {}
