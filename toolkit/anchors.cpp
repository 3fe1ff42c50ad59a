#include "anchors.h"

#include <QEvent>
#include <QResizeEvent>
#include <QPointer>
#include <QWidget>
#include <cmath>

namespace {

// One per anchored control; lives as the control's child and watches the control
// and its parent.
class TAnchorKeeper : public QObject
{
public:
    explicit TAnchorKeeper(QWidget *control) : QObject(control), FControl(control)
    {
        control->installEventFilter(this);
        WatchParent();
    }

    TAnchors Value = DefaultAnchors;

    void Record()
    {
        if (!FControl->parentWidget())
            return;
        FRef = FControl->geometry();
        FRefParent = FControl->parentWidget()->size();
        FLastParentSize = FRefParent;
        FExpected = FRef;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == FControl) {
            switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
                if (!FApplying)
                    Record();
                break;
            case QEvent::ParentChange:
                WatchParent();
                Record();
                break;
            default:
                break;
            }
        } else if (watched == FParent && event->type() == QEvent::Resize) {
            // Qt holds back the Move and Resize events of hidden widgets, so a control
            // placed from code since the last record may not have told us yet. It was
            // placed while the parent had its old size.
            if (FControl->geometry() != FExpected) {
                const QSize old = static_cast<QResizeEvent *>(event)->oldSize();
                FRef = FControl->geometry();
                FRefParent = old.isValid() ? old : FLastParentSize;
                FExpected = FRef;
            }
            Apply();
            FLastParentSize = FParent->size();
        }
        return false;
    }

private:
    void WatchParent()
    {
        if (FParent)
            FParent->removeEventFilter(this);
        FParent = FControl->parentWidget();
        if (FParent)
            FParent->installEventFilter(this);
    }

    void Apply()
    {
        if (!FParent || FRefParent.isEmpty())
            return;
        const QRect target = AnchoredGeometry(Value, FRef, FRefParent, FParent->size());
        FExpected = target;
        if (target == FControl->geometry())
            return;
        FApplying = true;
        FControl->setGeometry(target);
        FApplying = false;
        FExpected = target;
    }

    QWidget *FControl;
    QPointer<QWidget> FParent;
    QRect FRef;
    QSize FRefParent;
    QRect FExpected; // where the control stands by the last record or adjustment
    QSize FLastParentSize; // the parent's size when this keeper last looked
    bool FApplying = false;
};

TAnchorKeeper *KeeperOf(const QWidget *control)
{
    // The keeper has no meta-object of its own, so findChild<> would take any
    // child; look at the dynamic type instead.
    for (QObject *child : control->children()) {
        if (auto *keeper = dynamic_cast<TAnchorKeeper *>(child))
            return keeper;
    }
    return nullptr;
}

// One direction of the anchoring rule: position and extent along an axis.
void AnchorAxis(bool nearEdge, bool farEdge, int refPos, int refLen, int refParent, int parent,
                int &pos, int &len)
{
    pos = refPos;
    len = refLen;
    if (nearEdge && farEdge) {
        len = refLen + (parent - refParent);
    } else if (farEdge) {
        pos = refPos + (parent - refParent);
    } else if (!nearEdge && refParent > 0) {
        // Neither edge: the centre stays at the same fraction of the parent.
        const double centre = (refPos + refLen / 2.0) * parent / refParent;
        pos = int(std::lround(centre - refLen / 2.0));
    }
}

} // namespace

QRect AnchoredGeometry(TAnchors anchors, const QRect &ref, const QSize &refParent,
                       const QSize &parent)
{
    int x, w, y, h;
    AnchorAxis(anchors & akLeft, anchors & akRight, ref.x(), ref.width(), refParent.width(),
               parent.width(), x, w);
    AnchorAxis(anchors & akTop, anchors & akBottom, ref.y(), ref.height(), refParent.height(),
               parent.height(), y, h);
    return QRect(x, y, std::max(0, w), std::max(0, h));
}

void SetAnchors(QWidget *control, TAnchors anchors)
{
    TAnchorKeeper *keeper = KeeperOf(control);
    if (!keeper)
        keeper = new TAnchorKeeper(control);
    keeper->Value = anchors;
    keeper->Record();
}

TAnchors Anchors(const QWidget *control)
{
    const TAnchorKeeper *keeper = KeeperOf(control);
    return keeper ? keeper->Value : DefaultAnchors;
}
