// SCAFFOLD: replaced by the Options dialog work.
#include "app/main_window.h"
void TForm1::OptionsClick() {}
