#pragma once

#include "forms/Timer.h"

#include <vector>

namespace testsupport {

// A clock for tests: time moves only when advance() is called, and each
// enabled timer ticks once for every whole interval that passes.
class ManualClock : public forms::Clock {
public:
    void timerChanged(forms::Timer& timer) override;
    void timerGone(forms::Timer& timer) override;
    void advance(int ms);
    long long now() const { return now_; }

private:
    struct Entry {
        forms::Timer* timer;
        long long due;
    };
    std::vector<Entry> entries_;
    long long now_ = 0;
};

} // namespace testsupport
