// SCAFFOLD: replaced by the equalizer and filter windows work.
#include "app/main_window.h"
#include "mixer/equalizer_window.h"
#include "mixer/filter_window.h"

TfrmEQ::TfrmEQ(TForm1 &form) : QDialog(&form) {}
TfrmRecFlt::TfrmRecFlt(TForm1 &form) : QDialog(&form) {}
void TForm1::SyncFilterWindow() {}
void TForm1::btnSetFilterClick() {}
void TForm1::ToolBtnEqualizerClick() {}
void TForm1::chEqualizerClick() {}
