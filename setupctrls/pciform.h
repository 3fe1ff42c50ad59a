#pragma once
// The window listing the installed cards, built by the setup supporter when its
// owner supplies a text per card.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

class TPCIForm : public QWidget
{
    Q_OBJECT
public:
    // `owner` is the main window; the window stays above it and dies with it.
    explicit TPCIForm(QWidget *owner);

    QPlainTextEdit *PCIMemo = nullptr;
    QPushButton *CloseButton = nullptr;
};
