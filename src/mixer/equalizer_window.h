// SCAFFOLD: replaced by the mixer work.
#pragma once
#include <QDialog>
class TForm1;
class TfrmEQ : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEQ(TForm1 &form);
};
