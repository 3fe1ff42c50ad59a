#pragma once
// A hot spot on the card photograph: a coloured ring over the part of the card that
// one option concerns. Hovering lights it and opens the option's popup window,
// clicking pins the popup, and the highlight adds the option to a group menu of the
// main window. Highlights on one board image with the same title and kind are
// linked: they light together and share one popup, one menu entry and one panel.

#include "radiopanel.h"
#include "vcl.h"

#include <QAction>
#include <QColor>
#include <QImage>
#include <QList>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

class TPopupForm;

enum THighlightType { htOptions, htSettings, htCalibration };
Q_DECLARE_METATYPE(THighlightType)

// Strength of the tint at one pixel of a ring image, from D = X*X + Y*Y where X and
// Y run from -1 to +1 across the highlight. Only meaningful for D below 1 (outside
// the inscribed ellipse nothing is tinted). `White` asks for the captured pixel to be
// replaced by white before tinting (the core line of the bright ring).
struct TRingShade
{
    float Strength = 0.0f;
    bool White = false;
};
TRingShade RingShade(float d, bool bright);

// Tints the ellipse inscribed in the top-left `width` x `height` pixels of `image`
// (Format_RGB32) towards `color`: a faint inner disc and a ring peaking at 0.875 of
// the radius. Pixels outside the ellipse stay as they are. Sizes below 2 pixels in
// either direction have no ring and leave the image unchanged; sizes beyond the
// image are clipped to it.
void ShadeCircle(QImage &image, int width, int height, bool bright, QColor color, float level);

// The caption of the group menu of each kind ("&Settings" ...), the stem of its
// component name and the captions it is inserted before.
QString GroupCaption(THighlightType type);
QString GroupStem(THighlightType type);
QStringList GroupInsertBefore(THighlightType type);

class TBoardHighlight : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool CreatePopup READ CreatePopup WRITE SetCreatePopup)
    Q_PROPERTY(THighlightType HighlightType READ HighlightType WRITE SetHighlightType)
    Q_PROPERTY(TRadioPanel *RadioPanel READ RadioPanel WRITE SetRadioPanel)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)

public:
    explicit TBoardHighlight(QWidget *parent = nullptr);
    ~TBoardHighlight() override;

    bool CreatePopup() const { return FCreatePopup; }
    void SetCreatePopup(bool value) { FCreatePopup = value; }
    THighlightType HighlightType() const { return FHighlightType; }
    void SetHighlightType(THighlightType value);
    TRadioPanel *RadioPanel() const { return FRadioPanel; }
    // Refused (the panel is not stored) when another highlight of the same parent
    // that is not linked with this one already shows the panel.
    void SetRadioPanel(TRadioPanel *panel);
    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &value);

    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }

    // Pointer notifications; wParam 1 marks one passed on from a linked highlight.
    void MouseEnter(int wParam);
    void MouseLeave(int wParam);
    // A click on the ring: OnClick, then the popup is pinned.
    void Click();
    void PinPopup();
    void SetPopupActive(bool active, bool passOn);
    void Unlight();

    // The popup window of the group and the buttons in it.
    void ShowPopup();
    void PopupClosed(QObject *sender = nullptr);
    void PreviousClick(QObject *sender = nullptr);
    void NextClick(QObject *sender = nullptr);
    void DoneClick(QObject *sender = nullptr);

    // The entry of the option in its group menu.
    void BuildMenuEntry();
    void SetMenuChecked(bool checked);
    // Handler of the menu entry. A menu entry as sender is read as just triggered (it
    // has flipped its own check mark); any other sender opens and pins the popup.
    void MenuItemClick(QObject *sender);

    // The highlight children of the parent board image with the same title and kind,
    // this one included, in the parent's child order.
    QList<TBoardHighlight *> LinkedHighlights() const;

    static QString StripAmpersands(const QString &text);
    static QString MakeIdentifier(const QString &text);
    // The stem of the menu entry's component name: the identifier made of the title,
    // or "Item" when the title holds no letter or underscore.
    QString MenuNameStem() const;

    // Read access for the popup and for tests.
    bool Lit() const { return FLit; }
    bool Pinned() const { return FPinned; }
    bool PopupActive() const { return FPopupActive; }
    bool ImagesReady() const { return FImagesReady; }
    TPopupForm *Popup() const { return FPopup; }
    QMenuBar *Menu() const { return FMenu; }
    QAction *MenuEntry() const { return FMenuEntry; }
    const QString &CaptionText() const { return FCaptionText; }
    const QString &IdentText() const { return FIdentText; }
    QColor RingColor() const { return FRingColor; }
    float NormalLevel() const { return FNormalLevel; }
    float MediumLevel() const { return FMediumLevel; }
    float BrightLevel() const { return FBrightLevel; }
    const QImage &NormalImage() const { return FNormalImage; }
    const QImage &MediumImage() const { return FMediumImage; }
    const QImage &BrightImage() const { return FBrightImage; }
    // The image the highlight shows in its present state.
    const QImage &CurrentImage() const;

    // Renders the three ring images from what lies beneath the highlight now.
    void PrepareImages();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void PrepareOnFirstPaint();
    QImage CaptureBeneath() const;
    void PinAndFocusPopup();
    void AssignLinkedRadioPanel(TRadioPanel *panel) { FRadioPanel = panel; }
    QWidget *BoardImage() const;
    QAction *FindMenuEntry() const;
    bool GroupPinned() const;

    QImage FNormalImage;
    QImage FBrightImage;
    QImage FMediumImage;
    float FNormalLevel = 0.5f;
    float FBrightLevel = 1.0f;
    float FMediumLevel = 0.75f;
    QColor FRingColor = QColor(0xFF, 0xFF, 0x00);
    bool FLit = false;
    TPopupForm *FPopup = nullptr;
    QString FCaptionText;
    QString FIdentText;
    QPointer<QMenuBar> FMenu;
    QPointer<QAction> FMenuEntry;
    bool FImagesReady = false;
    bool FPinned = false;
    bool FPopupActive = false;
    bool FCreatePopup = true;
    THighlightType FHighlightType = htSettings;
    QPointer<TRadioPanel> FRadioPanel;
    QString FTitle;
    TNotifyEvent FOnClick;
    bool FPressed = false;
    bool FPreparing = false;
};
