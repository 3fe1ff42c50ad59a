#pragma once
// The help window ("How to use this program") that the setup supporter builds.
// Its Start button hides it and starts the guided tour on the board image.

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

class THelpForm : public QWidget
{
    Q_OBJECT
public:
    // `owner` is the main window; the help window stays above it and dies with it.
    explicit THelpForm(QWidget *owner);

    QTextEdit *HelpRich = nullptr;
    QLabel *HelpLabel = nullptr;
    QPushButton *StartButton = nullptr;

    // Hides the window, then sends the tour's start message to the first board
    // image among the main window's direct child controls.
    void StartButtonClick(QObject *sender);

    // Where the window's client area goes at its first showing, so that the
    // window stands centred over the main window.
    QPoint FirstPosition() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool FPlaced = false;
};
