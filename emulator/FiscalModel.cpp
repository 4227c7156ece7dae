#include "emulator/FiscalModel.h"

namespace quorvex::emulator {

namespace {

constexpr int kStatusCommand = 0x4A;

// The status request: "W" or "X" (or nothing); the status bytes are the answer.
ModelAnswer statusRequest(const std::string& data)
{
    if (!data.empty() && data != "W" && data != "X")
        return refused(refusal::kSyntaxError);
    return {};
}

} // namespace

std::optional<ModelAnswer> FiscalModel::handle(int command, const std::string& data,
                                               std::int64_t nowMs)
{
    m_state.nowMs = nowMs;
    if (command == kStatusCommand)
        return statusRequest(data);
    if (auto answer = m_day.handle(command, data, m_state))
        return answer;
    if (auto answer = m_receipts.handle(command, data, m_state))
        return answer;
    return m_network.handle(command, data, m_state);
}

StatusBits FiscalModel::standingStatus() const
{
    // A fiscalised registrar: fiscal memory formatted, device fiscalised, tax rates defined,
    // fiscal and factory numbers programmed (S5).
    constexpr std::uint8_t kFiscalisedS5 = 0x02 | 0x08 | 0x10 | 0x20;
    constexpr std::uint8_t kFiscalReceiptOpenS2 = 0x08;
    constexpr std::uint8_t kNonFiscalReceiptOpenS2 = 0x20;
    constexpr std::uint8_t kReturnReceiptS1 = 0x08; // together with the fiscal receipt bit

    StatusBits bits{};
    bits[5] = kFiscalisedS5;
    switch (m_state.openReceipt) {
    case OpenReceipt::None:
        break;
    case OpenReceipt::Fiscal:
        bits[2] |= kFiscalReceiptOpenS2;
        break;
    case OpenReceipt::Return:
        bits[1] |= kReturnReceiptS1;
        bits[2] |= kFiscalReceiptOpenS2;
        break;
    case OpenReceipt::NonFiscal:
        bits[2] |= kNonFiscalReceiptOpenS2;
        break;
    }
    return bits;
}

} // namespace quorvex::emulator
