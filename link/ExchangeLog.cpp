#include "link/ExchangeLog.h"

#include "platform/NativePath.h"

#include <cerrno>
#include <cstdio>

namespace quorvex::link {

namespace {

// "%2d-%02d-%4d %2d:%02d:%02d" of day, month, year, hour, minute, second.
std::string formatStamp(const platform::LocalTime& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%2d-%02d-%4d %2d:%02d:%02d", t.day, t.month, t.year, t.hour,
                  t.minute, t.second);
    return text;
}

} // namespace

ExchangeLog::ExchangeLog(platform::Clock* clock, DirectoryProvider directory) : m_clock(clock)
{
    setDirectoryProvider(std::move(directory));
}

void ExchangeLog::setDirectoryProvider(DirectoryProvider directory)
{
    m_directory = directory ? std::move(directory) : DirectoryProvider(platform::currentDirectory);
}

std::string ExchangeLog::formatEntry(const platform::LocalTime& time, const std::string& head,
                                     const std::string& body)
{
    const std::string stamp = formatStamp(time);
    if (head.empty())
        return ";Начало сеанса   " + stamp + " \r\n";
    if (body.empty())
        return ";Конец Сеанса   " + stamp + " \r\n";
    return ";" + stamp + "  " + head + "\r\n" + body + "\r\n";
}

std::string ExchangeLog::formatNote(const platform::LocalTime& time, const std::string& text)
{
    return ";" + formatStamp(time) + "  " + text + "\r\n";
}

bool ExchangeLog::fixPath()
{
    if (!m_path.empty())
        return true;
    // The directory, the platform's separator ('\\' on Windows), the name.
    std::string path =
        platform::pathText(platform::filePath(m_directory()) / platform::filePath(m_name));
    // A path beyond the limit is never cut to a different file name: the entry is skipped.
    if (path.size() > kMaxLogPath)
        return false;
    m_path = std::move(path);
    return true;
}

bool ExchangeLog::write(const std::string& head, const std::string& body)
{
    return append([&](const platform::LocalTime& time) { return formatEntry(time, head, body); });
}

bool ExchangeLog::writeAt(const platform::LocalTime& time, const std::string& head,
                          const std::string& body)
{
    return append([&](const platform::LocalTime&) { return formatEntry(time, head, body); });
}

platform::LocalTime ExchangeLog::now() const
{
    return (m_clock ? *m_clock : platform::processClock()).now();
}

bool ExchangeLog::writeNote(const std::string& text)
{
    return append([&](const platform::LocalTime& time) { return formatNote(time, text); });
}

bool ExchangeLog::writeNoteAt(const platform::LocalTime& time, const std::string& text)
{
    return append([&](const platform::LocalTime&) { return formatNote(time, text); });
}

std::error_code ExchangeLog::check()
{
    if (m_name.empty())
        return {};
    if (!fixPath())
        return std::make_error_code(std::errc::filename_too_long);
    errno = 0;
    std::FILE* file = platform::openFile(m_path, "ab");
    if (!file)
        return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    std::fclose(file);
    return {};
}

bool ExchangeLog::append(const std::function<std::string(const platform::LocalTime&)>& entryAt)
{
    if (m_name.empty())
        return false;
    if (!fixPath()) {
        failed(LogFailure::Kind::CannotOpen, ENAMETOOLONG);
        return false;
    }
    errno = 0;
    std::FILE* file = platform::openFile(m_path, "ab");
    if (!file) {
        failed(LogFailure::Kind::CannotOpen, errno);
        return false;
    }
    const std::string entry = entryAt(now());
    const bool written =
        std::fwrite(entry.data(), 1, entry.size(), file) == entry.size() && std::fflush(file) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        failed(LogFailure::Kind::WriteFailed, written ? errno : error);
        return false;
    }
    m_failing = false;
    return true;
}

void ExchangeLog::failed(LogFailure::Kind kind, int error)
{
    if (m_failing)
        return;
    m_failing = true;
    if (m_failureListener)
        m_failureListener({kind, m_path.empty() ? m_name : m_path,
                           std::error_code(error != 0 ? error : EIO, std::generic_category())});
}

} // namespace quorvex::link
