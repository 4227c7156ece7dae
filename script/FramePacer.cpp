#include "script/FramePacer.h"

#include <utility>

namespace quorvex::script {

FramePacer::FramePacer(Clock clock, std::chrono::milliseconds frame)
    : m_clock(std::move(clock)), m_frame(frame)
{
}

bool FramePacer::due()
{
    const auto now = m_clock();
    if (m_started && now - m_last < m_frame)
        return false;
    m_started = true;
    m_last = now;
    return true;
}

void FramePacer::restart()
{
    m_started = false;
}

} // namespace quorvex::script
