#include "forms/Timer.h"

#include "forms/Runtime.h"

#include <QTimer>
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

Timer::Timer(QString name) : name_(std::move(name)), clock_(&clock())
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

} // namespace forms
