#pragma once
// Local time and sleeping, behind an interface so the exchange log and script delays can run
// on a test clock.
namespace quorvex::platform {

struct LocalTime {
    int day = 1;
    int month = 1;
    int year = 1970;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
    virtual void sleepMs(int milliseconds) = 0;
};

Clock& systemClock();               // the real local clock and sleep
Clock& processClock();              // the process's clock (systemClock() unless replaced)
void setProcessClock(Clock* clock); // nullptr restores systemClock()

} // namespace quorvex::platform
