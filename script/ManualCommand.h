#pragma once
// The std-only side of the manual command group "Выполнение команды": the code box's
// hexadecimal conversion and the "Выполнить" / "Повторить команду" sequences.
#include "script/ExecuteOnBoth.h"

#include <string>

namespace quorvex::script {

class ScriptHost;

// The message for a character that is not a hexadecimal digit (Windows-1251).
extern const char* const kBadCommandCodeMessage; // "Неверный код команды!"

struct CommandCodeConversion {
    int code = 0;      // what the code becomes; partial when a digit was bad
    bool valid = true; // false: "Неверный код команды!" is due
};

// Two characters of the code box as a hexadecimal code (either letter case). A bad first
// character leaves 0; a bad second character leaves 16 x the first digit. Callers convert
// only texts of exactly two characters.
[[nodiscard]] CommandCodeConversion convertCommandCode(const std::string& twoCharacters);

// The list box line of "В список": code box text + "->" + data box text.
[[nodiscard]] std::string commandListLine(const std::string& codeText, const std::string& dataText);

// "Выполнить" of the manual group: ExecuteOnBoth with the second registrar allowed, reports in
// the manual format. After the first registrar's answer the "PC: " / "FP: " lines go to the
// memo unless noOutput(), the status text to the status box always. A time-out of either
// registrar shows "Ошибка выполнения команды. Таймаут" (the first registrar's display stays),
// a command the link refused the refusal message.
ExecuteOutcome executeManualCommand(ScriptHost& host, int code, const std::string& data,
                                    TwoRegistrarResults& lists);

// "Повторить команду": the same, with the first registrar sent its last request again (same
// sequence number) and the second registrar sent code/data.
ExecuteOutcome repeatManualCommand(ScriptHost& host, int code, const std::string& data,
                                   TwoRegistrarResults& lists);

} // namespace quorvex::script
