#include "forms/Timer.h"

#include "forms/Runtime.h"

#include <QTimer>
#include <algorithm>
#include <map>

namespace forms {

namespace {

class EventLoopClock : public Clock {
public:
    void timerChanged(Timer& timer) override
    {
        auto& q = timers_[&timer];
        if (!q) {
            q = std::make_unique<QTimer>();
            QObject::connect(q.get(), &QTimer::timeout, [&timer] { timer.tick(); });
        }
        if (timer.isEnabled() && timer.interval() > 0)
            q->start(timer.interval());
        else
            q->stop();
    }
    void timerGone(Timer& timer) override { timers_.erase(&timer); }

private:
    std::map<Timer*, std::unique_ptr<QTimer>> timers_;
};

EventLoopClock& eventLoopClock()
{
    static EventLoopClock c;
    return c;
}

Clock* current = nullptr;

} // namespace

void setClock(Clock* c)
{
    current = c;
}

Clock& clock()
{
    return current ? *current : eventLoopClock();
}

Timer::Timer(QString name)
    : name_(std::move(name))
    , clock_(&clock())
{
}

Timer::~Timer()
{
    clock_->timerGone(*this);
}

void Timer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    clock_->timerChanged(*this);
}

void Timer::setInterval(int ms)
{
    interval_ = ms;
    clock_->timerChanged(*this);
}

void Timer::tick()
{
    if (enabled_)
        raiseEvent(onTimer);
}

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

} // namespace forms
