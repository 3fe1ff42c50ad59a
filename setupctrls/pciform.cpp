#include "pciform.h"

TPCIForm::TPCIForm(QWidget *owner) : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint) {}
