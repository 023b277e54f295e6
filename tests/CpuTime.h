#pragma once

#include <QElapsedTimer>
#include <QtGlobal>
#include <ctime>

namespace cputime {

// The processor time this thread has used, in milliseconds. A bound on a
// piece of work is held against it, not against the wall clock, so that a
// machine busy with other work does not count against the code under test.
inline qint64 threadMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Instrumented code runs several times slower: a time budget is widened by
// this factor in a sanitized build.
#ifdef SANITIZED_BUILD
inline constexpr qint64 SanitizerScale = 5;
#else
inline constexpr qint64 SanitizerScale = 1;
#endif

// The time a piece of work spent off the processor since start(): waiting on
// a lock or the disk, or for its turn on a busy machine; the wall clock less
// this thread's processor time.
class OffProcessor {
public:
    void start()
    {
        wall_.start();
        cpu_ = threadMs();
    }
    qint64 ms() const { return wall_.elapsed() - (threadMs() - cpu_); }

private:
    QElapsedTimer wall_;
    qint64 cpu_ = 0;
};

} // namespace cputime
