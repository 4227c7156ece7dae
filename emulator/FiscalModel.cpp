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
    StatusBits bits{};
    switch (m_state.openReceipt) {
    case OpenReceipt::Fiscal:
        bits[2] |= 0x08; // S2: fiscal receipt open
        break;
    case OpenReceipt::Return:
        bits[1] |= 0x08; // S1: with S2:0x08, the open receipt is a return receipt
        bits[2] |= 0x08;
        break;
    case OpenReceipt::NonFiscal:
        bits[2] |= 0x20; // S2: non-fiscal receipt open
        break;
    case OpenReceipt::None:
        break;
    }
    return bits;
}

} // namespace quorvex::emulator
