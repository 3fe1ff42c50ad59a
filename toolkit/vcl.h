#pragma once
// Small pieces of the component model that the setup classes share: event types,
// the Tag of a window or control, case-insensitive component look-up and the
// design-mode flag.

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QString>
#include <functional>

class QWidget;

// An event handler bound to an object; "assigned" means the function is non-empty.
using TNotifyEvent = std::function<void(QObject *sender)>;

// Control alignment inside its parent. Stored for the classes that publish it; the
// board image reads it when it answers an auto-size query.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TBorderStyle { bsNone, bsSingle };

namespace Vcl {

// The integer Tag of a window or control; 0 where none was set.
int Tag(const QObject *object);
void SetTag(QObject *object, int tag);

// The first object among `owner`'s descendants whose objectName equals `name`,
// compared without regard to letter case, or nullptr.
QObject *FindComponent(const QObject *owner, const QString &name);

// True when `name` names no descendant of `owner` (letter case ignored).
inline bool NameIsFree(const QObject *owner, const QString &name)
{
    return FindComponent(owner, name) == nullptr;
}

// "stem" followed by the first number from 1 up that gives a free name under `owner`.
QString UniqueName(const QObject *owner, const QString &stem);

// Design mode: a form designer would set this on a form or control. Nothing in the
// program sets it; tests do, to reach the rules that only apply while designing.
bool InDesignMode(const QObject *object);
void SetDesignMode(QObject *object, bool on);

// System colours by role.
QColor WindowColor();     // the colour behind edit boxes and lists
QColor ButtonFaceColor(); // panels, buttons, dialogs
QColor WindowTextColor();

// The full outer size of a control's parent as the old toolkit reported it: for a
// top-level window (or the central widget of a main window) the frame size,
// caption and menu bar included; for an ordinary control its own size.
QSize OuterSizeOf(const QWidget *parent);

// The background colour of a widget as set in its palette.
QColor BackgroundColor(const QWidget *widget);
void SetBackgroundColor(QWidget *widget, const QColor &color);

} // namespace Vcl
