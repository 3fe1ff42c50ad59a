#pragma once
// The panel that shows the photograph of the card and holds the highlight circles
// over it. It keeps itself centred in its parent, remembers where it stood at its
// first paint, names the menu bar the highlights extend and starts the guided tour.

#include "anchors.h"
#include "graphic.h"
#include "vcl.h"

#include <QPointer>
#include <QWindow>
#include <QWidget>

#include <QMenuBar>
class TBoardHighlight;

class TBoardImage : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool CenterOnForm READ CenterOnForm WRITE SetCenterOnForm)
    Q_PROPERTY(bool Scale READ Scale WRITE SetScale)
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int DesignLeft READ DesignLeft)
    Q_PROPERTY(int DesignTop READ DesignTop)

public:
    explicit TBoardImage(QWidget *parent = nullptr);
    ~TBoardImage() override;

    TBoardHighlight *First() const;
    void SetFirst(TBoardHighlight *first);
    QMenuBar *Menu() const { return FMenu; }
    void SetMenu(QMenuBar *menu) { FMenu = menu; }

    bool CenterOnForm() const { return FCenterOnForm; }
    void SetCenterOnForm(bool value) { FCenterOnForm = value; }
    bool Scale() const { return FScale; }
    void SetScale(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value) { FAlign = value; }

    // The panel's own picture; assigning copies the given one.
    TPicture &Picture() { return FPicture; }
    const TPicture &Picture() const { return FPicture; }
    void SetPicture(const TPicture &picture) { FPicture.Assign(picture); }

    // Where the panel stood when it was first painted, in its parent's coordinates.
    int DesignLeft() const { return FDesignLeft; }
    int DesignTop() const { return FDesignTop; }

    // The rectangle the picture is drawn into, in the panel's coordinates.
    QRect PictureRect() const;

    // The size auto-sizing gives, from the proposed one; always answers true.
    bool CanAutoSize(int &newWidth, int &newHeight) const;

    // The colour palette of the picture's graphic, empty when it has none.
    QList<QRgb> GetPalette() const;

    // Runs after every change of the picture and of the drawing settings.
    void PictureUpdated();

    // Events the panel publishes for its owner.
    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }
    TNotifyEvent OnDblClick() const { return FOnDblClick; }
    void SetOnDblClick(TNotifyEvent handler) { FOnDblClick = std::move(handler); }

    // Test hooks: how often the panel asked to be repainted, and whether it is
    // drawing its picture right now.
    int UpdateRequests() const { return FUpdateRequests; }
    bool Drawing() const { return FDrawing; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void StartTour(int wParam, int lParam);
    bool NotifyPaletteChange();
    bool PlaceForPaint();
    void Invalidate();

    TPicture FPicture;
    QPointer<TBoardHighlight> FFirst;
    QPointer<QMenuBar> FMenu;
    bool FCenterOnForm = true;
    bool FScale = true;
    bool FCenter = false;
    bool FStretch = false;
    bool FTransparent = false;
    bool FAutoSize = true;
    TAlign FAlign = alNone;
    bool FDrawing = false;
    double FAspectRatio = 1.0;
    bool FDesignPosKnown = false;
    QPointer<QWindow> FPaintCycle; // the window whose paint cycle places the panel
    int FDesignLeft = 0;
    int FDesignTop = 0;
    int FUpdateRequests = 0;
    TNotifyEvent FOnClick;
    TNotifyEvent FOnDblClick;
};
