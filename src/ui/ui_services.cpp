#include "ui/ui_services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace ui {

static Hooks &hooks()
{
    static Hooks h;
    return h;
}

void setHooks(Hooks h)
{
    hooks() = std::move(h);
}

QString withFullStop(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

static QWidget *boxParent(QWidget *parent)
{
    return parent ? parent : QApplication::activeWindow();
}

static BoxesLater *g_later = nullptr;

BoxesLater::BoxesLater() : m_outer(std::exchange(g_later, this)) {}

BoxesLater::~BoxesLater()
{
    g_later = m_outer;
}

void errorBox(const QString &text)
{
    if (g_later) {
        g_later->m_errors.append(text);
        QTimer::singleShot(0, qApp, [text] { errorBox(text); });
        return;
    }
    const Box box{BoxKind::Error, applicationTitle, withFullStop(text)};
    if (hooks().box) {
        hooks().box(box);
        return;
    }
    QMessageBox::critical(boxParent(nullptr), box.caption, box.text, QMessageBox::Ok);
}

void errorBox(const std::exception &error)
{
    errorBox(QString::fromUtf8(error.what()));
}

void notice(QWidget *parent, const QString &text)
{
    if (g_later) {
        QTimer::singleShot(0, qApp, [parent = QPointer<QWidget>(parent), text] { notice(parent, text); });
        return;
    }
    const Box box{BoxKind::Notice, applicationTitle, text};
    if (hooks().box) {
        hooks().box(box);
        return;
    }
    QMessageBox::information(boxParent(parent), box.caption, box.text, QMessageBox::Ok);
}

bool confirm(QWidget *parent, const QString &text)
{
    const Box box{BoxKind::Question, QCoreApplication::translate("UiServices", "Confirm"), text};
    if (hooks().box)
        return hooks().box(box);
    QMessageBox mb(QMessageBox::Question, box.caption, box.text, QMessageBox::NoButton, boxParent(parent));
    QPushButton *yes = mb.addButton(QCoreApplication::translate("UiServices", "&Yes"), QMessageBox::YesRole);
    QPushButton *no = mb.addButton(QCoreApplication::translate("UiServices", "&No"), QMessageBox::NoRole);
    mb.setDefaultButton(yes);
    mb.setEscapeButton(no);
    mb.exec();
    return mb.clickedButton() == yes;
}

bool ask(QWidget *parent, const QString &text, const QString &first, const QString &second)
{
    const Box box{BoxKind::Question, applicationTitle, text};
    if (hooks().box)
        return hooks().box(box);
    QMessageBox mb(QMessageBox::Question, box.caption, box.text, QMessageBox::NoButton, boxParent(parent));
    QPushButton *yes = mb.addButton(first, QMessageBox::YesRole);
    QPushButton *no = mb.addButton(second, QMessageBox::NoRole);
    mb.setDefaultButton(yes);
    mb.setEscapeButton(yes);
    mb.exec();
    return mb.clickedButton() != no;
}

QString getOpenFileName(QWidget *parent, const QString &title, const QStringList &filters)
{
    if (hooks().openFile)
        return hooks().openFile(title, filters);
    // Qt separates the patterns of a filter by blanks, not semicolons.
    QStringList qtFilters;
    for (const QString &f : filters) {
        const qsizetype open = f.lastIndexOf(QLatin1Char('('));
        qtFilters << (open < 0 ? f : f.left(open) + f.mid(open).replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(qtFilters);
    dialog.selectNameFilter(qtFilters.value(0));
    dialog.selectFile(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString getExistingDirectory(QWidget *parent, const QString &title)
{
    if (hooks().chooseFolder)
        return hooks().chooseFolder(title);
    return QFileDialog::getExistingDirectory(parent, title, QString());
}

void openUrl(const QUrl &url)
{
    if (hooks().openUrl) {
        hooks().openUrl(url);
        return;
    }
    // The outcome is the desktop's business: a missing handler shows nothing of ours.
    QDesktopServices::openUrl(url);
}

void beep()
{
    if (hooks().beep) {
        hooks().beep();
        return;
    }
    QApplication::beep();
}

}  // namespace ui
