#include "boardhighlight.h"

void TBoardHighlight::MouseEnter(int) {}
void TBoardHighlight::MouseLeave(int) {}
void TBoardHighlight::Click() {}
