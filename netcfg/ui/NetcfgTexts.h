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

inline std::string successMessage()
{
    return platform::toCp1251(QStringLiteral("Успешно!"));
}

} // namespace quorvex::ui
