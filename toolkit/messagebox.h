#pragma once
// Modal message boxes described by the old platform's style flags, and a hook
// that lets tests answer them without a window.

#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

// Style flags, combined with |. The values are those of the old platform, so a
// box reads the same as the call it stands for.
enum TMessageBoxFlag : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_SETFOREGROUND = 0x10000,
    MB_TOPMOST = 0x40000,
};

// Answers, named and numbered as on the old platform.
enum TMessageBoxResult { IDOK = 1, IDCANCEL = 2, IDRETRY = 4, IDYES = 6, IDNO = 7 };

// Builds the box that ShowMessageBox would run: icon, buttons, default button and
// stay-on-top as `flags` ask. The caller owns the box.
QMessageBox *CreateMessageBox(const QString &text, const QString &caption, unsigned flags,
                              QWidget *parent = nullptr);

// The answer a box's button stands for.
int MessageBoxResult(const QMessageBox &box);

// Shows the box modally and returns the answer (IDCANCEL when it is closed from
// the title bar). With a hook installed, the hook answers instead.
int ShowMessageBox(const QString &text, const QString &caption, unsigned flags);

using TMessageBoxHook =
    std::function<int(const QString &text, const QString &caption, unsigned flags)>;
// Installs `hook` (an empty function removes it); returns the one it replaces.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);
