#pragma once
// One open serial line to a registrar: a real port, an in-process emulator, or a test script.
// The link owns it from a successful open until the port is closed.
#include <cstddef>
#include <cstdint>

namespace quorvex::serial {

struct ReadResult {
    enum class Kind { Byte, Nothing, Error };
    Kind kind = Kind::Nothing;
    std::uint8_t byte = 0;

    static ReadResult of(std::uint8_t b) { return {Kind::Byte, b}; }
    static ReadResult nothing() { return {Kind::Nothing, 0}; }
    static ReadResult error() { return {Kind::Error, 0}; }
};

class SerialLine {
public:
    virtual ~SerialLine() = default;
    // Waits until everything written has left the driver's output queue.
    virtual bool flush() = 0;
    // Aborts pending I/O and discards both driver buffers.
    virtual bool purge() = 0;
    // Writes all bytes; false when the line refused them.
    virtual bool write(const std::uint8_t* data, std::size_t size) = 0;
    // One byte, or Nothing after at most 100 ms without one, or Error when the line reports
    // an error state (a following clearError() resets it).
    virtual ReadResult readByte() = 0;
    virtual void clearError() = 0;
    // True when the device has gone away (unplugged, or the other end hung up the line), so
    // that nothing will ever arrive on this line again; asked after a read gave Error. Such a
    // line can only be closed; the port is opened anew once the device is back.
    virtual bool gone() { return false; }
    // Closes the line; false when closing failed (the line then stays usable).
    virtual bool close() = 0;
};

} // namespace quorvex::serial
