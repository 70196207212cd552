// SCAFFOLD: replaced by the tips, About and help work.
#include "app/main_window.h"
#include <QTimer>
void TForm1::TimerTipTimer() { TimerTip->stop(); }
void TForm1::TipOfTheDayClick() {}
void TForm1::AboutClick() {}
void TForm1::HelpContentsClick() {}
void TForm1::HomepageClick() {}
