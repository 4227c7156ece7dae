#pragma once
// The exchange log: one text file that records the start and end of every serial session and
// every request and answer. The file is opened for appending and closed around every entry;
// its path is fixed at the first entry and kept for the life of the log object.
#include "platform/Clock.h"

#include <functional>
#include <string>
#include <system_error>

namespace quorvex::link {

constexpr std::size_t kMaxLogPath = 299;

// Why an entry could not be written.
struct LogFailure {
    enum class Kind { CannotOpen, WriteFailed };
    Kind kind = Kind::CannotOpen;
    std::string path; // the log's path text
    std::error_code reason;
};

class ExchangeLog {
public:
    using DirectoryProvider = std::function<std::string()>;

    // clock: local time of each entry (nullptr: the process clock). directory: the current
    // directory when the path is fixed (empty function: the process's current directory).
    explicit ExchangeLog(platform::Clock* clock = nullptr, DirectoryProvider directory = {});

    // An empty name switches the log off. A later name never moves an already fixed path.
    void setName(const std::string& fileName) { m_name = fileName; }
    [[nodiscard]] const std::string& name() const { return m_name; }
    // Empty until the first entry is written.
    [[nodiscard]] const std::string& path() const { return m_path; }

    void setClock(platform::Clock* clock) { m_clock = clock; }
    void setDirectoryProvider(DirectoryProvider directory);

    // Told when an entry cannot be written: once when the log starts failing, not again until
    // an entry has been written. Called while an exchange runs, so it must not send commands or
    // run a message loop.
    using FailureListener = std::function<void(const LogFailure&)>;
    void setFailureListener(FailureListener listener) { m_failureListener = std::move(listener); }
    // Opens the log for appending (creating the file) and closes it again: no error when that
    // works or the log is off. The listener is not told.
    [[nodiscard]] std::error_code check();

    // Writes one entry: empty head = session start, empty body = session end, otherwise a
    // dated head line followed by the body line. True when the entry was written; false when
    // the log is off or the file cannot be opened (nothing else happens then).
    bool write(const std::string& head, const std::string& body);
    // As write, dated at the given time: an answer is dated when its last byte arrived, though
    // it is written after the result callback, which may hold a message box open.
    bool writeAt(const platform::LocalTime& time, const std::string& head, const std::string& body);
    // The log clock's local time now.
    [[nodiscard]] platform::LocalTime now() const;
    // Writes one dated line of the link's own: why a port could not be opened, why an exchange
    // was cut short (dated when it was detected).
    bool writeNote(const std::string& text);
    bool writeNoteAt(const platform::LocalTime& time, const std::string& text);

    // The bytes of one entry at the given time.
    [[nodiscard]] static std::string formatEntry(const platform::LocalTime& time,
                                                 const std::string& head, const std::string& body);
    [[nodiscard]] static std::string formatNote(const platform::LocalTime& time,
                                                const std::string& text);

private:
    bool fixPath();
    // Formats the entry at the current local time and appends it; false as for write().
    bool append(const std::function<std::string(const platform::LocalTime&)>& entryAt);
    void failed(LogFailure::Kind kind, int error);

    platform::Clock* m_clock;
    DirectoryProvider m_directory;
    std::string m_name;
    std::string m_path;
    FailureListener m_failureListener;
    bool m_failing = false; // the last entry could not be written and that was told
};

} // namespace quorvex::link
