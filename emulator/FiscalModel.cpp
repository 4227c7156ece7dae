#include "emulator/FiscalModel.h"

namespace quorvex::emulator {

std::optional<ModelAnswer> FiscalModel::handle(int command, const std::string& data,
                                               std::int64_t nowMs)
{
    m_state.nowMs = nowMs;
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
