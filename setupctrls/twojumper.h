#pragma once
// Placeholder until the two-pin jumper picture lands: only its cap state.

#include <QWidget>

class TTwoJumper : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    bool Closed() const { return FClosed; }
    void SetClosed(bool value)
    {
        if (value == FClosed)
            return;
        FClosed = value;
        update();
    }

private:
    bool FClosed = false;
};
