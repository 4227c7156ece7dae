#pragma once
// Paces work that only the screen needs (repaints, message processing, memo appends) to the
// screen's frame rate: a script run asks after every line, and at most one ask per frame is
// told to go ahead. The clock is injected so the pacing is tested in virtual time.
#include <chrono>
#include <functional>

namespace quorvex::script {

class FramePacer {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr std::chrono::milliseconds kFrame{16};

    explicit FramePacer(Clock clock = std::chrono::steady_clock::now,
                        std::chrono::milliseconds frame = kFrame);

    // True for the first ask after a frame has passed since the last true (and for the first
    // ask of all, or the first after restart()); false otherwise.
    [[nodiscard]] bool due();
    // The next ask is due at once: the start of a run, or after the last state was painted
    // by other means.
    void restart();

private:
    Clock m_clock;
    std::chrono::milliseconds m_frame;
    bool m_started = false;
    std::chrono::steady_clock::time_point m_last{};
};

} // namespace quorvex::script
