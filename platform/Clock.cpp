#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace quorvex::platform {

namespace {

class SystemClock final : public Clock {
public:
    LocalTime now() override
    {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
#ifdef _WIN32
        localtime_s(&tm, &t);
#else
        localtime_r(&t, &tm);
#endif
        return {tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec};
    }
    void sleepMs(int ms) override
    {
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

Clock* g_clock = nullptr;

} // namespace

Clock& systemClock()
{
    static SystemClock c;
    return c;
}

Clock& processClock()
{
    return g_clock ? *g_clock : systemClock();
}

void setProcessClock(Clock* c)
{
    g_clock = c;
}

} // namespace quorvex::platform
