#pragma once
// The container of one option group: its controls, its pictures and its
// explanation text. Hidden on the main window; a highlight's popup takes it in.
// It can make its two-pin jumper children act as a radio group.

#include "anchors.h"
#include "vcl.h"

#include <QStringList>
#include <QWidget>

class TTwoJumper;

using TRadioPanelChangeEvent = std::function<void(QObject *sender)>;

class TRadioPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool RadioEnabled READ RadioEnabled WRITE SetRadioEnabled)
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
    Q_PROPERTY(int MemoHeight READ MemoHeight WRITE SetMemoHeight)

public:
    explicit TRadioPanel(QWidget *parent = nullptr);
    ~TRadioPanel() override;

    bool RadioEnabled() const { return FRadioEnabled; }
    void SetRadioEnabled(bool value) { FRadioEnabled = value; }

    // The explanation text; assigning copies the lines.
    const QStringList &Lines() const { return FLines; }
    void SetLines(const QStringList &lines) { FLines = lines; }

    int MemoHeight() const { return FMemoHeight; }
    void SetMemoHeight(int value) { FMemoHeight = value; }

    // The anchors the panel takes once it sits in its popup; applied at once only
    // from then on.
    TAnchors FinalAnchors() const { return FFinalAnchors; }
    void SetFinalAnchors(TAnchors value);

    bool InPopup() const { return FInPopup; }
    void SetInPopup(bool value) { FInPopup = value; }

    // The panel colour; the pictures on the panel paint their background in it.
    QColor Color() const;
    void SetColor(const QColor &color);

    // Closes `jumper`, opens every other two-pin jumper child and reports a change
    // through OnRadioChange, with the jumper as sender.
    void SelectJumper(TTwoJumper *jumper);

    const TRadioPanelChangeEvent &OnRadioChange() const { return FOnRadioChange; }
    void SetOnRadioChange(TRadioPanelChangeEvent handler) { FOnRadioChange = std::move(handler); }
    const TNotifyEvent &OnActivate() const { return FOnActivate; }
    void SetOnActivate(TNotifyEvent handler) { FOnActivate = std::move(handler); }
    const TNotifyEvent &OnDeactivate() const { return FOnDeactivate; }
    void SetOnDeactivate(TNotifyEvent handler) { FOnDeactivate = std::move(handler); }

    // Runs whenever the keyboard focus moves into the panel from outside it.
    const TNotifyEvent &OnEnter() const { return FOnEnter; }
    void SetOnEnter(TNotifyEvent handler);

    bool DesignHidden() const { return FDesignHidden; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool FRadioEnabled = false;
    QStringList FLines;
    int FMemoHeight = 58;
    TAnchors FFinalAnchors = DefaultAnchors;
    bool FInPopup = false;
    bool FDesignHidden = false;
    TRadioPanelChangeEvent FOnRadioChange;
    TNotifyEvent FOnActivate;
    TNotifyEvent FOnDeactivate;
    TNotifyEvent FOnEnter;
};
