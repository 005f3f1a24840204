// The pause of long operations: loads, saves and searches make it after
// every step, so the window stays alive and ESC or a close request can stop
// them.
#include "view/HexView.h"

CHexView::AfterPause CHexView::PauseBetweenSteps(const bool& running) {
    if (!Host().PumpWaitingMessages()) return AfterPause::Quitting;
    return running ? AfterPause::Continue : AfterPause::Cancelled;
}
