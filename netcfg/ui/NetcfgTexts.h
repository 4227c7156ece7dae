#pragma once
// Messages the modem and acquirer-link windows share, as Windows-1251 bytes.
#include "platform/qt/TextCodec.h"

#include <string>

namespace quorvex::ui {

// The registrar did not answer.
inline std::string timeoutMessage()
{
    return platform::toCp1251(QStringLiteral("Ошибка выполнения команды. Таймаут"));
}

// The link refused the command before sending it (another command in flight, no port open),
// so there is no answer to judge.
inline std::string notSentMessage()
{
    return platform::toCp1251(
        QStringLiteral("Команда не отправлена: порт не открыт или занят другой командой."));
}

inline std::string successMessage()
{
    return platform::toCp1251(QStringLiteral("Успешно!"));
}

} // namespace quorvex::ui
