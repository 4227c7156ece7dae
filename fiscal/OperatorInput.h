#pragma once
// What the report, cash and copy windows read from their edits and send on: numbers typed by
// the operator and dates as the registrar takes them. Texts are Windows-1251 bytes.
#include <optional>
#include <string>

namespace quorvex::fiscal {

// "ddmmyy": day, month and the last two digits of the year, each with a leading zero
// (7 December 2026 gives 071226).
[[nodiscard]] std::string sixDigitDate(int year, int month, int day);

// Numbers typed by the operator are read with platform/NumberText.h.

// The service cash amount to send for the amount edit's text, or why there is none.
struct ServiceCashAmount {
    enum class Problem { None, NotANumber, NotPositive };
    Problem problem = Problem::None;
    double amount = 0; // negative for a cash out
};
[[nodiscard]] ServiceCashAmount serviceCashAmount(const std::string& text, bool cashOut);

} // namespace quorvex::fiscal
