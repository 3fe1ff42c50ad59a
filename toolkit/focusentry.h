#pragma once
// Entry events of containers: a container is entered when the keyboard focus moves
// into it from a widget outside it. Focus that only comes back because its window
// was activated again is no new entry, except the very first time the focus lands
// in the container (a popup that takes its panel in and focuses it is activated
// after the focus was set, so that first focus arrives as an activation).

#include <QWidget>
#include <functional>

// Calls `onEnter` on every entry into `container`; an empty function stops it.
void SetOnEnter(QWidget *container, std::function<void()> onEnter);
