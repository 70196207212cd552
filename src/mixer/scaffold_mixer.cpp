// SCAFFOLD: replaced by the mixer work.
#include "app/main_window.h"
#include "mixer/advanced_dialog.h"
#include "mixer/equalizer_window.h"
#include "mixer/filter_window.h"

TfrmAdv::TfrmAdv(TForm1 &form) : QDialog(&form) {}
TfrmEQ::TfrmEQ(TForm1 &form) : QDialog(&form) {}
TfrmRecFlt::TfrmRecFlt(TForm1 &form) : QDialog(&form) {}
QWidget *TForm1::BuildRecordingControlsPage() { return new QWidget; }
QWidget *TForm1::BuildPlaybackControlsPage() { return new QWidget; }
void TForm1::FillDeviceLists() {}
void TForm1::BuildPlaybackStrips() {}
void TForm1::BuildRecordingStrips() {}
void TForm1::DeviceComboClick() {}
void TForm1::DeviceComboInClick() {}
void TForm1::RefreshRecordingSelection() {}
void TForm1::SyncFilterWindow() {}
void TForm1::btnSetFilterClick() {}
void TForm1::ToolBtnEqualizerClick() {}
void TForm1::chEqualizerClick() {}
