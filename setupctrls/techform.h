#pragma once
// The technical-support window that the setup supporter builds.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

class TTechForm : public QWidget
{
    Q_OBJECT
public:
    // `owner` is the main window; the window stays above it and dies with it.
    explicit TTechForm(QWidget *owner);

    QPlainTextEdit *TechMemo = nullptr;
    QPushButton *CloseButton = nullptr;
};
