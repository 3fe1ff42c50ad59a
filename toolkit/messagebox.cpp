#include "messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

TMessageBoxHook &Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

struct TButtonSet
{
    QMessageBox::StandardButton First;
    QMessageBox::StandardButton Second; // NoButton for a single button
};

TButtonSet ButtonsOf(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case MB_YESNO:
        return {QMessageBox::Yes, QMessageBox::No};
    case MB_RETRYCANCEL:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok, QMessageBox::NoButton};
    }
}

QMessageBox::Icon IconOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QMessageBox *CreateMessageBox(const QString &text, const QString &caption, unsigned flags,
                              QWidget *parent)
{
    const TButtonSet buttons = ButtonsOf(flags);
    auto *box = new QMessageBox(IconOf(flags), caption, text, buttons.First | buttons.Second,
                                parent);
    const bool second = (flags & 0xF00) == MB_DEFBUTTON2 && buttons.Second != QMessageBox::NoButton;
    box->setDefaultButton(second ? buttons.Second : buttons.First);
    // Closing from the title bar answers Cancel where the box has one, else its
    // only button, as on the old platform.
    box->setEscapeButton(buttons.Second == QMessageBox::Cancel ? buttons.Second : buttons.First);
    if (flags & MB_TOPMOST)
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box;
}

int MessageBoxResult(const QMessageBox &box)
{
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Retry:
        return IDRETRY;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

int ShowMessageBox(const QString &text, const QString &caption, unsigned flags)
{
    if (Hook())
        return Hook()(text, caption, flags);
    std::unique_ptr<QMessageBox> box(CreateMessageBox(text, caption, flags));
    if (flags & MB_SETFOREGROUND) {
        box->show();
        box->raise();
        box->activateWindow();
    }
    box->exec();
    return MessageBoxResult(*box);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    TMessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
