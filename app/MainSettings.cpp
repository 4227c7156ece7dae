#include "app/MainSettings.h"

#include "platform/IniFile.h"

namespace quorvex::ui {

namespace {
constexpr int kLogNameBuffer = 301;
// Windows port names fit in 9 characters; Linux device paths such as /dev/pts/12 do not, and a
// cut name would silently select another port, so the port name gets room for a path.
constexpr int kPortBuffer = 301;
constexpr int kSpeedBuffer = 10;
constexpr int kDefaultSpeedIndex = 1;
} // namespace

std::optional<std::string> readLogName(const std::string& settingsPath)
{
    if (platform::GetPrivateProfileInt("LogFile", "Log", 0, settingsPath) == 0)
        return std::nullopt;
    return platform::GetPrivateProfileString("LogFile", "LogName", "Brelox.log", kLogNameBuffer,
                                             settingsPath);
}

FirstRegistrarChoice readFirstRegistrar(const std::string& settingsPath)
{
    FirstRegistrarChoice choice;
    choice.port =
        platform::GetPrivateProfileString("Communication", "Port", "", kPortBuffer, settingsPath);
    choice.speed =
        platform::GetPrivateProfileString("Communication", "Speed", "", kSpeedBuffer, settingsPath);
    return choice;
}

void writeFirstRegistrar(const std::string& settingsPath, const FirstRegistrarChoice& choice)
{
    platform::WritePrivateProfileString("Communication", "Port", choice.port, settingsPath);
    platform::WritePrivateProfileString("Communication", "Speed", choice.speed, settingsPath);
}

int portIndexFor(const QStringList& ports, const QString& stored)
{
    // Linux device names are case-sensitive, so the stored name is compared without regard to
    // case instead of being upper-cased: "com2" still finds "COM2", "ttyUSB0" stays intact.
    if (stored.isEmpty())
        return 0;
    for (int i = 0; i < ports.size(); ++i) {
        if (ports[i].compare(stored, Qt::CaseInsensitive) == 0)
            return i;
    }
    return 0;
}

int speedIndexFor(const QStringList& speeds, const QString& stored)
{
    const int index = stored.isEmpty() ? -1 : int(speeds.indexOf(stored));
    return index >= 0 ? index : kDefaultSpeedIndex;
}

} // namespace quorvex::ui
