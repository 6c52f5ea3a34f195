#pragma once

#include "Pauser.h"

// Waits on the monotonic clock (midnight and clock changes don't matter)
// while the event loop goes on delivering events: windows repaint, the clock
// ticks and clicks run their handlers. Between events the thread sleeps.
class EventLoopPauser : public Pauser {
public:
    // Returns at once for zero or less, without handling any event.
    void pause(float seconds) override;
};
