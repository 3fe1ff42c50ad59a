#include "focusentry.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPointer>
#include <map>

namespace {

class TFocusEntryWatcher : public QObject
{
public:
    static TFocusEntryWatcher &Instance()
    {
        static auto *watcher = new TFocusEntryWatcher;
        return *watcher;
    }

    void Set(QWidget *container, std::function<void()> onEnter)
    {
        if (!onEnter) {
            FEntries.erase(container);
            return;
        }
        Entry &entry = FEntries[container];
        entry.Container = container;
        entry.OnEnter = std::move(onEnter);
        QObject::connect(container, &QObject::destroyed, this,
                         [this, container] { FEntries.erase(container); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType())
            FocusIn(static_cast<QWidget *>(watched), static_cast<QFocusEvent *>(event)->reason());
        return false;
    }

private:
    struct Entry
    {
        QPointer<QWidget> Container;
        std::function<void()> OnEnter;
        bool EnteredOnce = false;
    };

    TFocusEntryWatcher()
    {
        qApp->installEventFilter(this);
        // focusChanged comes after the FocusIn events, so FLastFocus still names
        // the widget the focus came from while FocusIn is handled.
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget *, QWidget *now) { FLastFocus = now; });
    }

    void FocusIn(QWidget *widget, Qt::FocusReason reason)
    {
        // Collect first: a handler may change the set of watched containers.
        std::vector<Entry *> entered;
        for (auto &[key, entry] : FEntries) {
            QWidget *container = entry.Container;
            if (!container || (!container->isAncestorOf(widget) && container != widget))
                continue;
            const bool fromOutside =
                !FLastFocus || (FLastFocus != container && !container->isAncestorOf(FLastFocus));
            if (!fromOutside)
                continue;
            if (reason == Qt::ActiveWindowFocusReason && entry.EnteredOnce)
                continue;
            entered.push_back(&entry);
        }
        FLastFocus = widget;
        for (Entry *entry : entered) {
            entry->EnteredOnce = true;
            const auto handler = entry->OnEnter;
            handler();
        }
    }

    std::map<QWidget *, Entry> FEntries;
    QPointer<QWidget> FLastFocus;
};

} // namespace

void SetOnEnter(QWidget *container, std::function<void()> onEnter)
{
    TFocusEntryWatcher::Instance().Set(container, std::move(onEnter));
}
