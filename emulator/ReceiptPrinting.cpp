// Paper lines, non-fiscal receipts, barcodes and the customer display of the emulated registrar.
#include "emulator/FixedPoint.h"
#include "emulator/ReceiptCommands.h"
#include "link/Operations.h"

#include <algorithm>
#include <cstdio>

namespace quorvex::emulator {

namespace {

struct BarcodeKind {
    const char* name;
    std::size_t maxLength; // 0: no limit
    bool digitsOnly;
};

// Types 1..5: EAN8, EAN13, Code 128 and the two ITF variants.
constexpr BarcodeKind kBarcodes[] = {
    {"EAN8", 7, true}, {"EAN13", 12, true}, {"CODE128", 42, false},
    {"ITF", 0, true},  {"ITF+", 0, true},
};

std::string separatorText(char type)
{
    switch (type) {
    case '1':
        return std::string(kPrintWidth, '-');
    case '2':
        return std::string(kPrintWidth, '=');
    default: {
        std::string dashes;
        for (int i = 0; i < kPrintWidth / 2; ++i)
            dashes += "- ";
        return dashes;
    }
    }
}

std::string displayRow(const std::string& text)
{
    return text.substr(0, kDisplayWidth);
}

bool anyReceiptOpen(const DeviceState& state)
{
    return state.openReceipt != OpenReceipt::None;
}

} // namespace

ModelAnswer ReceiptCommands::printText(const std::string& data, const DeviceState& state,
                                       bool fiscal)
{
    const bool open =
        fiscal ? salesReceiptOpen(state) : state.openReceipt == OpenReceipt::NonFiscal;
    if (!open)
        return refused(refusal::kNotAllowed);
    m_printing.push_back(paperLine(data));
    return ModelAnswer{};
}

ModelAnswer ReceiptCommands::openNonFiscal(DeviceState& state)
{
    if (anyReceiptOpen(state))
        return refused(refusal::kNotAllowed);
    state.openReceipt = OpenReceipt::NonFiscal;
    m_receipt = ReceiptInProgress{};
    m_printing = {"НЕФИСКАЛЬНЫЙ ЧЕК"};
    return ModelAnswer{};
}

ModelAnswer ReceiptCommands::closeNonFiscal(DeviceState& state)
{
    if (state.openReceipt != OpenReceipt::NonFiscal)
        return refused(refusal::kNotAllowed);
    return recordAndFinish(state, DocumentKind::NonFiscalReceipt);
}

// "1", "2" or "3", in any open receipt.
ModelAnswer ReceiptCommands::separatorLine(const std::string& data, const DeviceState& state)
{
    if (data.size() != 1 || data[0] < '1' || data[0] > '3')
        return refused(refusal::kSyntaxError);
    if (!anyReceiptOpen(state))
        return refused(refusal::kNotAllowed);
    m_printing.push_back(separatorText(data[0]));
    return ModelAnswer{};
}

// The type digit 1..5 and the data, within the type's length and digit rules.
ModelAnswer ReceiptCommands::barcode(const std::string& data, const DeviceState& state)
{
    if (data.size() < 2 || data[0] < '1' || data[0] > '5')
        return refused(refusal::kSyntaxError);
    const BarcodeKind& kind = kBarcodes[data[0] - '1'];
    const std::string payload = data.substr(1);
    const bool digits =
        std::all_of(payload.begin(), payload.end(), [](char c) { return c >= '0' && c <= '9'; });
    if ((kind.maxLength > 0 && payload.size() > kind.maxLength) || (kind.digitsOnly && !digits))
        return refused(refusal::kSyntaxError);
    if (!anyReceiptOpen(state))
        return refused(refusal::kNotAllowed);
    m_printing.push_back(std::string("ШТРИХ-КОД ") + kind.name + " " + payload);
    return ModelAnswer{};
}

ModelAnswer ReceiptCommands::showOnDisplay(int command, const std::string& data,
                                           const DeviceState& state)
{
    namespace cmd = link::command;
    switch (command) {
    case cmd::ClearDisplay:
        setDisplay({});
        break;
    case cmd::DisplayUpperRow:
        setDisplay({displayRow(data), m_display.lower});
        break;
    case cmd::DisplayLowerRow:
        setDisplay({m_display.upper, displayRow(data)});
        break;
    default: {
        const DateTime now = state.now();
        char date[16];
        char time[16];
        std::snprintf(date, sizeof date, "%02d.%02d.%04d", now.day, now.month, now.year);
        std::snprintf(time, sizeof time, "%02d:%02d", now.hour, now.minute);
        setDisplay({date, time});
        break;
    }
    }
    return ModelAnswer{};
}

void ReceiptCommands::setDisplay(DisplayRows rows)
{
    if (rows == m_display)
        return;
    m_display = std::move(rows);
    if (m_onDisplay)
        m_onDisplay(m_display);
}

void ReceiptCommands::finishPrinting()
{
    m_lastReceipt = std::move(m_printing);
    m_printing.clear();
    m_receipt = ReceiptInProgress{};
    if (m_onReceipt)
        m_onReceipt(m_lastReceipt);
}

ModelAnswer ReceiptCommands::recordAndFinish(DeviceState& state, DocumentKind kind)
{
    const int number = state.recordDocument(kind, m_printing);
    JournalDocument& document = state.journal.back();
    document.printed.push_back("ДОКУМЕНТ " + std::to_string(number) + " " +
                               dateTimeText(document.at));
    m_printing = document.printed;
    state.openReceipt = OpenReceipt::None;
    finishPrinting();
    return ModelAnswer{std::to_string(number), {}};
}

} // namespace quorvex::emulator
