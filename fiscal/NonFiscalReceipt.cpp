#include "fiscal/NonFiscalReceipt.h"

#include "fiscal/RegistrarStep.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"

#include <cstddef>

namespace quorvex::fiscal {

namespace {

// Longest data of barcode types 1..3 (EAN8, EAN13, Code 128); the ITF types have no limit.
constexpr std::size_t kBarcodeLimits[] = {7, 12, 42};
constexpr int kSeparatorTypes = 3;
constexpr int kBarcodeTypes = 5;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

const char* NonFiscalLines::addComment(const std::string& text)
{
    m_lines.push_back("P:" + text);
    return nullptr;
}

const char* NonFiscalLines::addSeparator(int separatorType)
{
    if (!m_lines.empty() && m_lines.back().rfind('L', 0) == 0)
        return "Не разрешается несколько разделительных линий подряд!";
    if (separatorType < 1 || separatorType > kSeparatorTypes)
        return "Выберите тип разделительной линии!";
    m_lines.push_back(std::string("L").append(std::to_string(separatorType)));
    return nullptr;
}

const char* NonFiscalLines::addBarcode(int barcodeType, const std::string& data)
{
    if (barcodeType < 1 || barcodeType > kBarcodeTypes)
        return "Выберите тип штрихкода!";
    const auto limited = static_cast<std::size_t>(barcodeType) <= std::size(kBarcodeLimits);
    if (limited && data.size() > kBarcodeLimits[barcodeType - 1])
        return "Превышение допустимой длины для штрихкода!";
    m_lines.push_back(
        std::string("B").append(std::to_string(barcodeType)).append(":").append(data));
    return nullptr;
}

bool printNonFiscalReceipt(const std::vector<std::string>& lines)
{
    if (!runReportedStep([](auto&&... fixed) { return link::OpenNonFiscalReceipt(fixed...); },
                         "Ошибка открытия нефискального чека"))
        return false;
    for (const std::string& line : lines) {
        const char kind = line.empty() ? '\0' : line[0];
        const int type = line.size() > 1 && isDigit(line[1]) ? line[1] - '0' : 0;
        bool printed = true;
        if (kind == 'P')
            printed = runReportedStep(
                [&](auto&&... fixed) {
                    return link::PrintNonFiscalText(fixed...,
                                                    line.size() > 2 ? line.substr(2) : "");
                },
                "Ошибка печати нефискального текста");
        else if (kind == 'B')
            printed = runReportedStep(
                [&](auto&&... fixed) {
                    return link::PrintBarcode(fixed..., type,
                                              line.size() > 3 ? line.substr(3) : "");
                },
                "Ошибка печати штрихкода");
        else if (kind == 'L')
            printed = runReportedStep(
                [&](auto&&... fixed) { return link::PrintSeparatorLine(fixed..., type); },
                "Ошибка печати разделительной строки");
        if (!printed)
            return false;
    }
    return closeNonFiscalReceipt();
}

bool closeNonFiscalReceipt()
{
    return link::tellOutcome(
        link::runOperation([](auto&&... fixed) { return link::CloseNonFiscalReceipt(fixed...); }),
        "Нефискальный чек - успешно", "Ошибка закрытия нефискального чека");
}

} // namespace quorvex::fiscal
