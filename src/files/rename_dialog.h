// SCAFFOLD: replaced by the file list work.
#pragma once
#include <QDialog>
class TRenameForm : public QDialog {
    Q_OBJECT
public:
    explicit TRenameForm(QWidget *parent) : QDialog(parent) {}
};
