#include "fiscal/SaleSequence.h"

#include "fiscal/ArticleFile.h"
#include "fiscal/RegistrarStep.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"

namespace quorvex::fiscal {

namespace {

constexpr double kLargestPlainReturnPrice = 999999.99;

void tell(const std::string& message)
{
    platform::dialogs().showMessage(message);
}

// The number in text, or the conversion error shown and nullopt.
std::optional<double> numberOrTell(const std::string& text)
{
    const auto value = platform::decimalValue(text);
    if (!value)
        tell(platform::conversionError(text));
    return value;
}

// A warning step of a return: its failure is told by the callback alone, and the sale goes on.
void warn(const link::Operation& operation)
{
    (void)link::tellOutcome(link::runOperation(operation), {}, {});
}

} // namespace

bool runSaleSequence(const SaleInput& input)
{
    if (input.articleText.empty() || input.articleCode < 0) {
        tell("Не выбран товар!");
        return false;
    }
    if (!runReportedStep(
            [&](auto&&... fixed) { return link::ReadArticle(fixed..., input.articleCode); },
            "Ошибка чтения информации об артикуле"))
        return false;
    const bool unknownArticle = link::resultState().copy.Fields[0].rfind('F', 0) == 0;

    const auto price = numberOrTell(articlePriceText(input.articleText));
    if (!price)
        return false;
    if (!input.sale && *price > kLargestPlainReturnPrice) {
        warn([](auto&&... fixed) { return link::Beep(fixed...); });
        warn([](auto&&... fixed) { return link::DisplayLowerRow(fixed..., "Err01"); });
    }

    if (unknownArticle &&
        !runReportedStep(
            [&](link::Link& target, auto&&... fixed) {
                return target.SendCommand(fixed..., link::command::Articles, input.articleText);
            },
            input.sale ? "Ошибка программирования товара!" : "Ошибка программирования товара"))
        return false;

    double percentage = 0;
    double amount = 0;
    if (input.discount != SaleDiscount::None) {
        const auto value = numberOrTell(input.discountValue);
        if (!value)
            return false;
        (input.discount == SaleDiscount::Percent ? percentage : amount) = *value;
    }
    const auto quantity = numberOrTell(input.quantity);
    if (!quantity)
        return false;
    return runReportedStep(
        [&](auto&&... fixed) {
            return link::RegisterSale(fixed..., input.sale ? 1 : 0, input.articleCode, *quantity,
                                      percentage, amount);
        },
        input.sale ? "Ошибка продажи товара" : "Ошибка печати фискального текста");
}

} // namespace quorvex::fiscal
