// SCAFFOLD: replaced by the mixer strips work (device lists, strips, advanced dialog).
#include "app/main_window.h"
#include "mixer/advanced_dialog.h"

TfrmAdv::TfrmAdv(TForm1 &form) : QDialog(&form) {}
QWidget *TForm1::BuildRecordingControlsPage() { return new QWidget; }
QWidget *TForm1::BuildPlaybackControlsPage() { return new QWidget; }
void TForm1::FillDeviceLists() {}
void TForm1::BuildPlaybackStrips() {}
void TForm1::BuildRecordingStrips() {}
void TForm1::DeviceComboClick() {}
void TForm1::DeviceComboInClick() {}
void TForm1::RefreshRecordingSelection() {}
