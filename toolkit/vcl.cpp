#include "vcl.h"

#include <QApplication>
#include <QMainWindow>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace Vcl {

int Tag(const QObject *object)
{
    return object ? object->property("Tag").toInt() : 0;
}

void SetTag(QObject *object, int tag)
{
    object->setProperty("Tag", tag);
}

QObject *FindComponent(const QObject *owner, const QString &name)
{
    if (!owner || name.isEmpty())
        return nullptr;
    const auto all = owner->findChildren<QObject *>();
    for (QObject *child : all) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    }
    return nullptr;
}

QString UniqueName(const QObject *owner, const QString &stem)
{
    for (int n = 1;; ++n) {
        const QString candidate = stem + QString::number(n);
        if (NameIsFree(owner, candidate))
            return candidate;
    }
}

bool InDesignMode(const QObject *object)
{
    for (const QObject *o = object; o; o = o->parent()) {
        if (o->property("DesignMode").toBool())
            return true;
    }
    return false;
}

void SetDesignMode(QObject *object, bool on)
{
    object->setProperty("DesignMode", on);
}

QColor WindowColor()
{
    return QApplication::palette().color(QPalette::Base);
}

QColor ButtonFaceColor()
{
    return QApplication::palette().color(QPalette::Button);
}

QColor WindowTextColor()
{
    return QApplication::palette().color(QPalette::WindowText);
}

QSize OuterSizeOf(const QWidget *parent)
{
    if (!parent)
        return {};
    if (parent->isWindow())
        return parent->frameGeometry().size();
    if (auto *main = qobject_cast<const QMainWindow *>(parent->parentWidget());
        main && main->centralWidget() == parent)
        return main->frameGeometry().size();
    return parent->size();
}

QColor BackgroundColor(const QWidget *widget)
{
    return widget->palette().color(widget->backgroundRole());
}

void SetBackgroundColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    pal.setColor(widget->backgroundRole(), color);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

} // namespace Vcl
