#include "link/Refusal.h"

#include "link/RetData.h"

namespace quorvex::link {

std::string refusalMessage(Refusal why)
{
    const std::string prefix = "Команда не отправлена: ";
    switch (why) {
    case Refusal::DataTooLong:
        return prefix + "данные длиннее " + std::to_string(kMaxRequestData) +
               " байт, которые вмещает кадр.";
    case Refusal::CodeOutOfRange:
        return prefix + "код команды не в пределах 0-255.";
    case Refusal::NothingToRepeat:
        return prefix + "нет команды для повтора.";
    case Refusal::InvalidArguments:
        return prefix + "недопустимые данные команды.";
    case Refusal::PortClosed:
        return prefix + "порт регистратора закрыт.";
    case Refusal::NotIdle:
    case Refusal::None:
        break;
    }
    return prefix + "порт регистратора не открыт или занят.";
}

} // namespace quorvex::link
