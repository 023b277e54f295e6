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

// A clock for tests: time moves only when advance() is called, and each
// enabled timer ticks once for every whole interval that passes.
class ManualClock : public Clock {
public:
    void timerChanged(Timer& timer) override;
    void timerGone(Timer& timer) override;
    void advance(int ms);
    long long now() const { return now_; }

private:
    struct Entry {
        Timer* timer;
        long long due;
    };
    std::vector<Entry> entries_;
    long long now_ = 0;
};

} // namespace forms
