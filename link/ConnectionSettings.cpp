#include "link/ConnectionSettings.h"

#include "platform/IniFile.h"

namespace quorvex::link {

namespace {

constexpr int kLogNameBuffer = 301;
// Windows port names fit in 9 characters; Linux device paths such as /dev/pts/12 do not, and a
// cut name would silently select another port, so the port name gets room for a path.
constexpr int kPortBuffer = 301;
constexpr int kSpeedBuffer = 10;
constexpr int kAnswerEndBuffer = 16;
constexpr int kIgnoreBuffer = 1024;

const char* sectionOf(Registrar registrar)
{
    return registrar == Registrar::First ? "Communication" : "SecondRegistrator";
}

} // namespace

std::optional<std::string> readLogName(const std::string& settingsPath)
{
    if (platform::GetPrivateProfileInt("LogFile", "Log", 0, settingsPath) == 0)
        return std::nullopt;
    return platform::GetPrivateProfileString("LogFile", "LogName", "Brelox.log", kLogNameBuffer,
                                             settingsPath);
}

RegistrarChoice readRegistrarChoice(const std::string& settingsPath, Registrar registrar)
{
    const char* section = sectionOf(registrar);
    return {platform::GetPrivateProfileString(section, "Port", "", kPortBuffer, settingsPath),
            platform::GetPrivateProfileString(section, "Speed", "", kSpeedBuffer, settingsPath)};
}

std::string readComparisonIgnore(const std::string& settingsPath)
{
    return platform::GetPrivateProfileString("SecondRegistrator", "Ignore", "", kIgnoreBuffer,
                                             settingsPath);
}

bool writeRegistrarChoice(const std::string& settingsPath, Registrar registrar,
                          const RegistrarChoice& choice)
{
    const char* section = sectionOf(registrar);
    const bool port =
        platform::WritePrivateProfileString(section, "Port", choice.port, settingsPath);
    const bool speed =
        platform::WritePrivateProfileString(section, "Speed", choice.speed, settingsPath);
    return port && speed;
}

AnswerEnd readAnswerEnd(const std::string& settingsPath)
{
    const std::string text = platform::GetPrivateProfileString("Communication", "AnswerEnd", "",
                                                               kAnswerEndBuffer, settingsPath);
    return parseAnswerEnd(text).value_or(AnswerEnd::Quiet);
}

int readBusyLimit(const std::string& settingsPath)
{
    const int seconds = platform::GetPrivateProfileInt("Communication", "BusyLimit",
                                                       kDefaultBusyLimitSeconds, settingsPath);
    return seconds > 0 ? seconds : kDefaultBusyLimitSeconds;
}

} // namespace quorvex::link
