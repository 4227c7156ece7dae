#pragma once
// A SerialLine test double in virtual time. Each write releases the next scripted answer into
// the input; reads take from the input and return Nothing at once when it is empty. A purge
// drops whatever input is waiting, like a real driver. Everything the link did is recorded in
// a shared record that outlives the line (the link owns and destroys the line itself).
#include "platform/Clock.h"
#include "serial/PortRegistry.h"
#include "serial/SerialLine.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::link::testing {

using serial::ReadResult;

struct LineScript {
    // Answers released one per write, in order.
    std::deque<std::vector<ReadResult>> answers;
    // Input waiting to be read now.
    std::deque<ReadResult> input;
    // What the link wrote, one entry per write call.
    std::vector<std::vector<std::uint8_t>> writes;
    std::vector<std::string> calls; // "flush", "purge", "write", "close", "clearError"
    int reads = 0;
    // Called at the start of every read, while the exchange is running.
    std::function<void()> duringRead;
    bool failClose = false;
    bool closed = false;
    // What gone() answers: the device has gone away.
    bool gone = false;

    void queueAnswer(std::vector<ReadResult> answer) { answers.push_back(std::move(answer)); }
    void queueAnswerBytes(const std::vector<std::uint8_t>& bytes)
    {
        queueAnswer(bytesToReads(bytes));
    }
    [[nodiscard]] std::vector<std::uint8_t> lastWrite() const
    {
        return writes.empty() ? std::vector<std::uint8_t>{} : writes.back();
    }

    static std::vector<ReadResult> bytesToReads(const std::vector<std::uint8_t>& bytes)
    {
        std::vector<ReadResult> reads;
        for (std::uint8_t b : bytes)
            reads.push_back(ReadResult::of(b));
        return reads;
    }
    static std::vector<ReadResult> silence(int emptyReads)
    {
        return std::vector<ReadResult>(static_cast<std::size_t>(emptyReads), ReadResult::nothing());
    }
};

class ScriptedLine final : public serial::SerialLine {
public:
    explicit ScriptedLine(std::shared_ptr<LineScript> script) : m_script(std::move(script)) {}

    bool flush() override
    {
        m_script->calls.push_back("flush");
        return true;
    }
    bool purge() override
    {
        m_script->calls.push_back("purge");
        m_script->input.clear();
        return true;
    }
    bool write(const std::uint8_t* data, std::size_t size) override
    {
        m_script->calls.push_back("write");
        m_script->writes.emplace_back(data, data + size);
        if (!m_script->answers.empty()) {
            for (const ReadResult& r : m_script->answers.front())
                m_script->input.push_back(r);
            m_script->answers.pop_front();
        }
        return true;
    }
    ReadResult readByte() override
    {
        ++m_script->reads;
        if (m_script->duringRead)
            m_script->duringRead();
        if (m_script->input.empty())
            return ReadResult::nothing();
        ReadResult r = m_script->input.front();
        m_script->input.pop_front();
        return r;
    }
    void clearError() override { m_script->calls.push_back("clearError"); }
    bool gone() override { return m_script->gone; }
    bool close() override
    {
        m_script->calls.push_back("close");
        if (m_script->failClose)
            return false;
        m_script->closed = true;
        return true;
    }

private:
    std::shared_ptr<LineScript> m_script;
};

// Registers a virtual port that opens a ScriptedLine on the given script.
inline void addScriptedPort(serial::PortRegistry& registry, const std::string& name,
                            std::shared_ptr<LineScript> script)
{
    registry.addVirtualPort(name, [script](const std::string&, int) {
        return std::unique_ptr<serial::SerialLine>(new ScriptedLine(script));
    });
}

// A clock that always reads the same local time and never sleeps.
class FixedClock final : public platform::Clock {
public:
    explicit FixedClock(platform::LocalTime time = {}) : m_time(time) {}
    void set(platform::LocalTime time) { m_time = time; }
    platform::LocalTime now() override { return m_time; }
    void sleepMs(int) override {}

private:
    platform::LocalTime m_time;
};

} // namespace quorvex::link::testing
