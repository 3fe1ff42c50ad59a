#pragma once
// Placeholder until the highlight circle lands: only what the board image calls.

#include <QWidget>

class TBoardHighlight : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    void MouseEnter(int wParam);
    void MouseLeave(int wParam);
    void Click();
};
