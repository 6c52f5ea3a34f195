#pragma once

// Waits a number of seconds while the windows keep handling events.
class Pauser {
public:
    virtual ~Pauser() = default;
    virtual void pause(float seconds) = 0;
};
