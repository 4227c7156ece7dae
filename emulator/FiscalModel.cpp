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
    return {};
}

} // namespace quorvex::emulator
