#pragma once
// The connection part of fpinit.ini: the exchange-log switch and the port and speed of both
// registrars (sections LogFile, Communication and SecondRegistrator). The main window and the
// second-registrar window read and write it here. Values are Windows-1251 bytes as stored.
#include "link/Link.h"

#include <optional>
#include <string>

namespace quorvex::link {

enum class Registrar { First, Second };

struct RegistrarChoice {
    std::string port;  // Port, a port name or a device path
    std::string speed; // Speed, at most 9 bytes
};

// LogFile/LogName (default "Brelox.log", at most 300 bytes) when LogFile/Log is non-zero,
// otherwise nothing: the log stays as it is.
[[nodiscard]] std::optional<std::string> readLogName(const std::string& settingsPath);

// Communication (first) or SecondRegistrator (second) / Port and Speed; missing keys are empty.
[[nodiscard]] RegistrarChoice readRegistrarChoice(const std::string& settingsPath,
                                                  Registrar registrar);
// SecondRegistrator/Ignore: the comparison's ignore list as written ("3E,EB:0"); empty when
// missing.
[[nodiscard]] std::string readComparisonIgnore(const std::string& settingsPath);
// False when the settings file could not be written.
bool writeRegistrarChoice(const std::string& settingsPath, Registrar registrar,
                          const RegistrarChoice& choice);

// Communication/AnswerEnd: "etx" ends each exchange at the answer's ETX; a missing key, an
// empty value or any other text keeps the quiet read after it.
[[nodiscard]] AnswerEnd readAnswerEnd(const std::string& settingsPath);

// Communication/BusyLimit: how many seconds a registrar may answer with SYN alone before the
// wait is given up; kDefaultBusyLimitSeconds when missing, not a number or not above 0.
[[nodiscard]] int readBusyLimit(const std::string& settingsPath);

} // namespace quorvex::link
