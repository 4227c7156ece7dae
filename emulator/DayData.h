#pragma once
// The texts of the day's commands as the registrar reads and writes them: data fields, amounts,
// report and document numbers, dates and times. Each reader returns nullopt for a text it does
// not accept; the command then refuses with the syntax-error bits.
#include "emulator/DeviceState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::emulator::daydata {

// The fields of a data text between commas: "a,,b" gives "a", "", "b"; "" gives one empty field.
[[nodiscard]] std::vector<std::string> splitFields(std::string_view data);

// A number of 1 to 9 decimal digits, leading zeros allowed ("0025"); no sign, no blanks.
[[nodiscard]] std::optional<int> parseNumber(const std::string& text);

// An amount in hundredths: an optional sign, 1 to 9 digits, optionally '.' and at most two
// decimals ("100.00", "-5", "0.5").
[[nodiscard]] std::optional<std::int64_t> parseAmount(const std::string& text);
// Hundredths as text with two decimals: 1250 gives "12.50", -5 gives "-0.05".
[[nodiscard]] std::string formatAmount(std::int64_t hundredths);

// A date as six digits ddmmyy in the years 2000 to 2099, after optional leading blanks (the
// padded form of the full report by date); the time of day is 00:00:00.
[[nodiscard]] std::optional<DateTime> parseDate(const std::string& text);
// A time of day hhmm on the given date.
[[nodiscard]] std::optional<DateTime> parseTime(const std::string& text, DateTime date);

// The clock's text "dd-mm-yy hh:mm:ss".
[[nodiscard]] std::string formatClock(const DateTime& at);
// "dd-mm-yy hh:mm:ss" or "dd-mm-yy hh:mm" (seconds 0).
[[nodiscard]] std::optional<DateTime> parseClock(const std::string& text);

} // namespace quorvex::emulator::daydata
