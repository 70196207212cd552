// SCAFFOLD: replaced by the mixer work.
#pragma once
#include <QDialog>
class TForm1;
class TfrmAdv : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAdv(TForm1 &form);
};
