#include "fiscal/SaleSequence.h"

#include "fiscal/ArticleFile.h"
#include "platform/NumberText.h"
#include "fiscal/RegistrarStep.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"

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
void warn(const std::function<int()>& operation)
{
    if (runStep(operation) == StepResult::NotSent)
        tell(notSentMessage());
}

} // namespace

bool runSaleSequence(const SaleInput& input)
{
    using link::PrinterResultsx;
    if (input.articleText.empty() || input.articleCode < 0) {
        tell("Не выбран товар!");
        return false;
    }
    if (!runReportedStep(
            [&] {
                return link::ReadArticle(link::processLink(), nullptr, PrinterResultsx, 0,
                                         input.articleCode);
            },
            "Ошибка чтения информации об артикуле"))
        return false;
    const bool unknownArticle = link::resultState().copy.Fields[0].rfind('F', 0) == 0;

    const auto price = numberOrTell(articlePriceText(input.articleText));
    if (!price)
        return false;
    if (!input.sale && *price > kLargestPlainReturnPrice) {
        warn([] { return link::Beep(link::processLink(), nullptr, PrinterResultsx, 0); });
        warn([] {
            return link::DisplayLowerRow(link::processLink(), nullptr, PrinterResultsx, 0, "Err01");
        });
    }

    if (unknownArticle &&
        !runReportedStep(
            [&] {
                return link::SendCommand(nullptr, PrinterResultsx, 0, link::command::Articles,
                                         input.articleText);
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
        [&] {
            return link::RegisterSale(link::processLink(), nullptr, PrinterResultsx, 0,
                                      input.sale ? 1 : 0, input.articleCode, *quantity, percentage,
                                      amount);
        },
        input.sale ? "Ошибка продажи товара" : "Ошибка печати фискального текста");
}

} // namespace quorvex::fiscal
