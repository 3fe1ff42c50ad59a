#pragma once
// Anchoring of child controls to the edges of their parent, kept on every resize
// of the parent. A control anchored to two opposite edges stretches; anchored to
// one edge it keeps its distance to that edge; anchored to neither edge of a
// direction it keeps its centre at the same fraction of the parent's size.

#include <QFlags>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

enum TAnchorKind { akLeft = 0x1, akTop = 0x2, akRight = 0x4, akBottom = 0x8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

constexpr TAnchors DefaultAnchors = TAnchors(akLeft) | akTop;
constexpr TAnchors AllAnchors = TAnchors(akLeft) | akTop | akRight | akBottom;

// Sets the anchors of `control` and records its present place in its parent as the
// reference for later resizes. Moving or resizing the control from code, or giving
// it another parent, records a new reference, as the old toolkit did.
void SetAnchors(QWidget *control, TAnchors anchors);
TAnchors Anchors(const QWidget *control);

// The geometry that anchoring gives a control whose reference geometry `ref` was
// taken in a parent of size `refParent`, once the parent measures `parent`.
QRect AnchoredGeometry(TAnchors anchors, const QRect &ref, const QSize &refParent,
                       const QSize &parent);
