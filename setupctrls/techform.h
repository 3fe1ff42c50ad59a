#pragma once
// The technical-support window that the setup supporter builds.

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

class TTechForm : public QWidget
{
    Q_OBJECT
public:
    // `owner` is the main window; the window stays above it and dies with it.
    explicit TTechForm(QWidget *owner);

    QPlainTextEdit *TechMemo = nullptr;
    QPushButton *CloseButton = nullptr;
};
