#pragma once
// Limits, tax groups, discounts and paper texts of the emulated receipts.
#include "emulator/DeviceState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::emulator {

constexpr std::int64_t kMaxAmountHundredths = 9'999'999'999;       // 99 999 999.99
constexpr std::int64_t kMaxQuantityThousandths = 999'999'999;      // 999 999.999
constexpr std::int64_t kMaxDayTotalHundredths = 999'999'999'999'9; // per day and kind
constexpr std::int64_t kMaxPercentHundredths = 9'999;              // 99.99 %
constexpr int kPrintWidth = 36;                                    // characters per paper line
constexpr std::int64_t kMaxArticleCode = 99'999'999;

using TaxSums = std::array<std::int64_t, kTaxGroups>;

// 0..4 for the Windows-1251 letters А..Д; nullopt for any other byte.
[[nodiscard]] std::optional<int> taxGroupIndex(char letter);
[[nodiscard]] char taxGroupLetter(int index);

// A discount (negative value) or surcharge (positive value) on a sale, the subtotal or a group.
struct Discount {
    enum class Kind { None, Percent, Amount };
    Kind kind = Kind::None;
    std::int64_t value = 0; // hundredths of a percent, or of money
};

// Reads a discount suffix: empty, ",percent" or ";amount", two decimals at most, signed.
// A malformed suffix or a percentage beyond 99.99 sets `refusal` to the syntax-error bits, an
// amount beyond the amount limit to the overflow bit; both return nullopt.
[[nodiscard]] std::optional<Discount> parseDiscount(std::string_view text, StatusBits& refusal);

// What the discount adds to `base` (hundredths; negative for a discount).
[[nodiscard]] std::int64_t discountOn(std::int64_t base, const Discount& discount);

// The discount spread over the tax groups of `base`: a percentage on each group, an amount in
// proportion to each group's share with the remainder on the last group that has one.
[[nodiscard]] TaxSums spreadDiscount(const TaxSums& base, const Discount& discount);

// The paper line of a discount: "СКИДКА 5.00% = -0.50", "НАДБАВКА = 3.00".
[[nodiscard]] std::string discountLine(const Discount& discount, std::int64_t adjustment);

[[nodiscard]] std::int64_t sumOf(const TaxSums& sums);

// The text cut to the paper width.
[[nodiscard]] std::string paperLine(std::string text);
// The paper name of a payment letter: "НАЛИЧНЫМИ" for P, "КАРТОЙ" for D, ...
[[nodiscard]] std::string paymentName(char letter);
// "08.12.2026 09:00".
[[nodiscard]] std::string dateTimeText(const DateTime& at);

} // namespace quorvex::emulator
