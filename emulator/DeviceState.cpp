#include "emulator/DeviceState.h"

#include "platform/Clock.h"

#include <chrono>
#include <utility>

namespace quorvex::emulator {

DateTime machineLocalTime()
{
    const platform::LocalTime t = platform::systemClock().now();
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

DateTime dateTimeAfter(const DateTime& start, std::int64_t elapsedMs)
{
    using namespace std::chrono;
    const sys_days startDay{year{start.year} / month{static_cast<unsigned>(start.month)} /
                            day{static_cast<unsigned>(start.day)}};
    const sys_seconds at = startDay + hours{start.hour} + minutes{start.minute} +
                           seconds{start.second} + duration_cast<seconds>(milliseconds{elapsedMs});
    const sys_days dayOfAt = floor<days>(at);
    const year_month_day ymd{dayOfAt};
    const hh_mm_ss time{at - dayOfAt};
    return DateTime{static_cast<int>(ymd.year()),
                    static_cast<int>(unsigned(ymd.month())),
                    static_cast<int>(unsigned(ymd.day())),
                    static_cast<int>(time.hours().count()),
                    static_cast<int>(time.minutes().count()),
                    static_cast<int>(time.seconds().count())};
}

int DeviceState::recordDocument(DocumentKind kind, std::vector<std::string> printed)
{
    const int number = journal.empty() ? 1 : journal.back().number + 1;
    journal.push_back(JournalDocument{number, kind, now(), std::move(printed)});
    return number;
}

} // namespace quorvex::emulator
