#pragma once

#include <QString>
#include <functional>
#include <memory>

class QTimer;

namespace forms {

class Timer;

// Where timers get their ticks: the event loop's clock by default; tests
// install a clock they advance by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void timerChanged(Timer& timer) = 0;
    virtual void timerGone(Timer& timer) = 0;
};
void setClock(Clock* clock); // nullptr: the event loop's clock
Clock& clock();

class Timer {
public:
    explicit Timer(QString name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const QString& name() const { return name_; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return interval_; }
    void setInterval(int ms);

    std::function<void()> onTimer;
    void tick(); // runs onTimer as an event

private:
    QString name_;
    bool enabled_ = false;
    int interval_ = 0;
    Clock* clock_;
};

} // namespace forms
