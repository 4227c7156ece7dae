#include "emulator/ReceiptMath.h"

#include "emulator/FixedPoint.h"

#include <cstdio>
#include <numeric>

namespace quorvex::emulator {

namespace {

constexpr unsigned char kFirstTaxLetter = 0xC0; // А in Windows-1251

} // namespace

std::optional<int> taxGroupIndex(char letter)
{
    const int index = static_cast<unsigned char>(letter) - kFirstTaxLetter;
    if (index < 0 || index >= kTaxGroups)
        return std::nullopt;
    return index;
}

char taxGroupLetter(int index)
{
    return static_cast<char>(kFirstTaxLetter + index);
}

std::optional<Discount> parseDiscount(std::string_view text, StatusBits& refusal)
{
    if (text.empty())
        return Discount{};
    const bool percent = text[0] == ',';
    if (!percent && text[0] != ';') {
        refusal = refusal::kSyntaxError;
        return std::nullopt;
    }
    const auto value = parseFixed(text.substr(1), 2, true);
    if (!value ||
        (percent && (*value > kMaxPercentHundredths || *value < -kMaxPercentHundredths))) {
        refusal = refusal::kSyntaxError;
        return std::nullopt;
    }
    if (*value > kMaxAmountHundredths || *value < -kMaxAmountHundredths) {
        refusal = refusal::kOverflow;
        return std::nullopt;
    }
    if (*value == 0)
        return Discount{};
    return Discount{percent ? Discount::Kind::Percent : Discount::Kind::Amount, *value};
}

std::int64_t discountOn(std::int64_t base, const Discount& discount)
{
    switch (discount.kind) {
    case Discount::Kind::Percent:
        return roundedProductQuotient(base, discount.value, 10'000);
    case Discount::Kind::Amount:
        return discount.value;
    case Discount::Kind::None:
        break;
    }
    return 0;
}

TaxSums spreadDiscount(const TaxSums& base, const Discount& discount)
{
    TaxSums spread{};
    if (discount.kind == Discount::Kind::Percent) {
        for (int i = 0; i < kTaxGroups; ++i)
            spread[i] = discountOn(base[i], discount);
        return spread;
    }
    const std::int64_t total = sumOf(base);
    if (discount.kind == Discount::Kind::None || total <= 0)
        return spread;
    std::int64_t given = 0;
    int last = -1;
    for (int i = 0; i < kTaxGroups; ++i) {
        if (base[i] <= 0)
            continue;
        spread[i] = productQuotient(discount.value, base[i], total);
        given += spread[i];
        last = i;
    }
    spread[last] += discount.value - given;
    return spread;
}

std::string discountLine(const Discount& discount, std::int64_t adjustment)
{
    std::string line = discount.value < 0 ? "СКИДКА" : "НАДБАВКА";
    if (discount.kind == Discount::Kind::Percent) {
        line += ' ';
        line += fixedText(discount.value < 0 ? -discount.value : discount.value, 2);
        line += '%';
    }
    line += " = ";
    line += fixedText(adjustment, 2);
    return line;
}

std::int64_t sumOf(const TaxSums& sums)
{
    return std::accumulate(sums.begin(), sums.end(), std::int64_t{0});
}

std::string paperLine(std::string text)
{
    if (text.size() > static_cast<std::size_t>(kPrintWidth))
        text.resize(kPrintWidth);
    return text;
}

std::string paymentName(char letter)
{
    switch (letter) {
    case 'P':
        return "НАЛИЧНЫМИ";
    case 'N':
        return "КРЕДИТ";
    case 'C':
        return "ЧЕКОМ";
    case 'D':
        return "КАРТОЙ";
    default:
        return std::string("ОПЛАТА ") + letter;
    }
}

std::string dateTimeText(const DateTime& at)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d", at.day, at.month, at.year, at.hour,
                  at.minute);
    return text;
}

} // namespace quorvex::emulator
