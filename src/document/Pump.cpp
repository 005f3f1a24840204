// The message pump of long operations: loads, saves and searches call it
// after every step so the window stays alive and ESC can cancel them.
#include "view/HexView.h"

bool CHexView::PumpWaitingMessages() { return Host().PumpWaitingMessages(); }
