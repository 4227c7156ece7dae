#pragma once
// The main window's part of fpinit.ini: the exchange-log switch, the first registrar's port
// and speed, and how the link recognises the end of an answer. Values are Windows-1251 bytes
// as stored.
#include "link/Link.h"

#include <optional>
#include <string>

namespace quorvex::ui {

struct FirstRegistrarChoice {
    std::string port;  // Communication/Port, at most 9 bytes
    std::string speed; // Communication/Speed, at most 9 bytes
};

// LogFile/LogName (default "Brelox.log", at most 300 bytes) when LogFile/Log is non-zero,
// otherwise nothing: the log stays as it is.
std::optional<std::string> readLogName(const std::string& settingsPath);

FirstRegistrarChoice readFirstRegistrar(const std::string& settingsPath);
void writeFirstRegistrar(const std::string& settingsPath, const FirstRegistrarChoice& choice);

// Communication/AnswerEnd: "etx" ends each exchange at the answer's ETX; a missing key, an
// empty value or any other text keeps the quiet read after it.
link::AnswerEnd readAnswerEnd(const std::string& settingsPath);

} // namespace quorvex::ui
