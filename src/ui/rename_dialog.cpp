#include "ui/rename_dialog.h"

#include "session/recorded_files.h"
#include "session/recorder_core.h"
#include "ui/ui_services.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

RenameDialog::RenameDialog(RecorderCore &core, QWidget *parent)
    : QDialog(parent), m_files(core.files()), m_core(core)
{
    setObjectName(QStringLiteral("renameDialog"));
    setWindowTitle(tr("Rename"));
    setModal(true);

    auto *label = new QLabel(tr("Input New Filename:"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setMinimumWidth(280);
    label->setBuddy(m_name);

    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    // Neither button answers Enter: the name is confirmed by clicking OK.
    for (QPushButton *b : {ok, cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(80);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    layout->addWidget(label);
    layout->addWidget(m_name);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, [this] { ui::runCommand([this] { confirmName(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RenameDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_name->setFocus();
    m_name->selectAll();
}

void RenameDialog::keyPressEvent(QKeyEvent *event)
{
    // No button is the cancel button either: Escape does not close the dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void RenameDialog::confirmName()
{
    const QString typed = m_name->text();
    const int row = m_files.selectedRow();
    if (!typed.isEmpty() && row < 0) {
        reject();
        return;
    }
    const QString refusal = m_core.renameFile(row, typed);
    if (!refusal.isEmpty()) {
        ui::notice(this, refusal);
        return;
    }
    accept();
}
