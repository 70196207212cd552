#include "ui/rename_dialog.h"

#include "ui/main_window.h"
#include "ui/path_text.h"
#include "ui/ui_services.h"
#include "ui/file_info_page.h"
#include "session/file_operations.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <stdexcept>

RenameDialog::RenameDialog(MainWindow *form) : QDialog(form), m_form(*form)
{
    setObjectName(QStringLiteral("RenameForm"));
    setWindowTitle(QStringLiteral("Rename"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Input New Filename:"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(280);
    Label1->setBuddy(Edit1);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    // Neither button answers Enter: the name is confirmed by clicking OK.
    for (QPushButton *b : {btnOK, btnCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(80);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(6);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOK, &QPushButton::clicked, this, [this] { ui::runCommand([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RenameDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->selectAll();
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

void RenameDialog::btnOKClick()
{
    const QString typed = Edit1->text();
    if (typed.isEmpty()) {
        ui::notice(this, QStringLiteral("new name can not be blank!"));
        return;
    }

    FileInfoPage &page = *m_form.FileInfo();
    QTreeWidgetItem *row = page.SelectedRow();
    if (!row) {
        reject();
        return;
    }
    const QString directory = row->text(FileInfoPage::DirectoryColumn);
    const QString oldName = row->text(FileInfoPage::NameColumn);
    const QString newName = renamedFileName(typed, oldName);
    if (newName.contains(QLatin1Char('/'))) {
        ui::notice(this, QStringLiteral("Cannot rename to %1: a file name cannot contain \"/\".").arg(newName));
        return;
    }
    const QString from = directory + oldName;
    const QString to = directory + newName;

    // The recording goes on writing under its own name and lists it when it ends.
    if (m_form.Recording && sameFile(from, m_form.CurrentRecordingName))
        throw std::runtime_error(
            QStringLiteral("Cannot rename %1: it is being recorded").arg(from).toStdString());

    if (to != from) {
        const DiskResult result = renameWithoutReplacing(from, to);
        if (result.outcome == DiskResult::NameTaken) {
            ui::notice(this, QStringLiteral("Cannot rename to %1: a file of that name already exists.").arg(newName));
            return;
        }
        if (result.outcome != DiskResult::Done)
            throw std::runtime_error(
                QStringLiteral("Cannot rename %1 to %2: %3").arg(from, newName, result.reason).toStdString());
    }

    row->setText(FileInfoPage::NameColumn, newName);
    row->setToolTip(FileInfoPage::NameColumn, to);
    // Everything that holds the old path follows the file: the selection, the current file
    // of the tag editor, the file a playback reads on from, the last recording, panel 1.
    m_form.SelectedFilePath = to;
    for (QString *held : {&m_form.CurrentFileName, &m_form.PlayFileName, &m_form.CurrentRecordingName})
        if (*held == from)
            *held = to;
    const QString shown = m_form.StatusText(1);
    const int width = m_form.StatusPanelWidth(1) - 8;
    if (shown == from)
        m_form.SetStatusText(1, to);
    else if (shown == shortenPath(from, m_form.fontMetrics(), width))
        m_form.SetStatusText(1, shortenPath(to, m_form.fontMetrics(), width));
    accept();
}
