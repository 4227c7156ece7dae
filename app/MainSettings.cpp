#include "app/MainSettings.h"

#include "platform/IniFile.h"

namespace quorvex::ui {

namespace {
constexpr int kLogNameBuffer = 301;
// Windows port names fit in 9 characters; Linux device paths such as /dev/pts/12 do not, and a
// cut name would silently select another port, so the port name gets room for a path.
constexpr int kPortBuffer = 301;
constexpr int kSpeedBuffer = 10;
constexpr int kAnswerEndBuffer = 16;
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

link::AnswerEnd readAnswerEnd(const std::string& settingsPath)
{
    const std::string text = platform::GetPrivateProfileString("Communication", "AnswerEnd", "",
                                                               kAnswerEndBuffer, settingsPath);
    return link::parseAnswerEnd(text).value_or(link::AnswerEnd::Quiet);
}

} // namespace quorvex::ui
