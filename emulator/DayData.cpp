#include "emulator/DayData.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace quorvex::emulator::daydata {

namespace {

constexpr std::size_t kMaxDigits = 9;
constexpr int kCentury = 2000;

bool allDigits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The two digits at pos as a number; the caller has checked they are digits.
int twoDigits(const std::string& text, std::size_t pos)
{
    return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

bool validDate(int year, int month, int day)
{
    using namespace std::chrono;
    return year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                          std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

bool validTime(int hour, int minute, int second)
{
    return hour < 24 && minute < 60 && second < 60;
}

} // namespace

std::vector<std::string> splitFields(std::string_view data)
{
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t comma = data.find(',');
        fields.emplace_back(data.substr(0, comma));
        if (comma == std::string_view::npos)
            return fields;
        data.remove_prefix(comma + 1);
    }
}

std::optional<int> parseNumber(const std::string& text)
{
    if (!allDigits(text) || text.size() > kMaxDigits)
        return std::nullopt;
    return std::stoi(text);
}

std::optional<std::int64_t> parseAmount(const std::string& text)
{
    std::string rest = text;
    bool negative = false;
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
        negative = rest[0] == '-';
        rest.erase(0, 1);
    }
    std::string decimals;
    if (const auto point = rest.find('.'); point != std::string::npos) {
        decimals = rest.substr(point + 1);
        rest.resize(point);
        if (decimals.size() > 2 || (!decimals.empty() && !allDigits(decimals)))
            return std::nullopt;
    }
    const auto whole = parseNumber(rest);
    if (!whole)
        return std::nullopt;
    decimals.resize(2, '0');
    const std::int64_t hundredths = std::int64_t{*whole} * 100 + std::stoi(decimals);
    return negative ? -hundredths : hundredths;
}

std::string formatAmount(std::int64_t hundredths)
{
    const std::int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", hundredths < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 100), static_cast<long long>(magnitude % 100));
    return text;
}

std::optional<DateTime> parseDate(const std::string& text)
{
    const std::string digits = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    if (digits.size() != 6 || !allDigits(digits))
        return std::nullopt;
    DateTime date;
    date.day = twoDigits(digits, 0);
    date.month = twoDigits(digits, 2);
    date.year = kCentury + twoDigits(digits, 4);
    date.hour = date.minute = date.second = 0;
    if (!validDate(date.year, date.month, date.day))
        return std::nullopt;
    return date;
}

std::optional<DateTime> parseTime(const std::string& text, DateTime date)
{
    if (text.size() != 4 || !allDigits(text))
        return std::nullopt;
    date.hour = twoDigits(text, 0);
    date.minute = twoDigits(text, 2);
    date.second = 0;
    if (!validTime(date.hour, date.minute, date.second))
        return std::nullopt;
    return date;
}

std::string formatClock(const DateTime& at)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d %02d:%02d:%02d", at.day, at.month,
                  at.year % 100, at.hour, at.minute, at.second);
    return text;
}

std::optional<DateTime> parseClock(const std::string& text)
{
    // dd-mm-yy hh:mm[:ss]
    static const std::string kShape = "00-00-00 00:00:00";
    if (text.size() != kShape.size() && text.size() != kShape.size() - 3)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digitWanted = kShape[i] == '0';
        const bool isDigit = text[i] >= '0' && text[i] <= '9';
        if (digitWanted ? !isDigit : text[i] != kShape[i])
            return std::nullopt;
    }
    DateTime at;
    at.day = twoDigits(text, 0);
    at.month = twoDigits(text, 3);
    at.year = kCentury + twoDigits(text, 6);
    at.hour = twoDigits(text, 9);
    at.minute = twoDigits(text, 12);
    at.second = text.size() == kShape.size() ? twoDigits(text, 15) : 0;
    if (!validDate(at.year, at.month, at.day) || !validTime(at.hour, at.minute, at.second))
        return std::nullopt;
    return at;
}

} // namespace quorvex::emulator::daydata
