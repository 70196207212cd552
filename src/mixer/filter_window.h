// SCAFFOLD: replaced by the mixer work.
#pragma once
#include <QDialog>
class TForm1;
class TfrmRecFlt : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRecFlt(TForm1 &form);
};
