#include "ManualClock.h"

#include <algorithm>

namespace testsupport {

using forms::Timer;

void ManualClock::timerChanged(Timer& timer)
{
    timerGone(timer);
    if (timer.isEnabled() && timer.interval() > 0)
        entries_.push_back({&timer, now_ + timer.interval()});
}

void ManualClock::timerGone(Timer& timer)
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.timer == &timer; }),
                   entries_.end());
}

void ManualClock::advance(int ms)
{
    const long long end = now_ + ms;
    while (true) {
        auto next = std::min_element(entries_.begin(), entries_.end(),
                                     [](const Entry& a, const Entry& b) { return a.due < b.due; });
        if (next == entries_.end() || next->due > end)
            break;
        now_ = next->due;
        Timer* t = next->timer;
        next->due += t->interval();
        t->tick(); // may disable or re-enable the timer
    }
    now_ = end;
}

} // namespace testsupport
