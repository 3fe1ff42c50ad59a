#include "techform.h"

TTechForm::TTechForm(QWidget *owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {}
