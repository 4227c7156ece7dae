#include "netcfg/ui/NetcfgExchange.h"

#include "link/Link.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"
#include "platform/qt/TextCodec.h"

namespace quorvex::ui {

bool exchangeAnswered(link::Link& link, int command, const std::string& data)
{
    if (link.SendCommand(nullptr, link::PrinterResultsx, 0, command, data) == -1) {
        platform::dialogs().showMessage(link::refusalMessage(link.lastRefusal()));
        return false;
    }
    if ((link::resultState().copy.ErrorFlags & link::ERR_TIMEOUT) != 0) {
        platform::dialogs().showMessage(
            platform::toCp1251(QStringLiteral("Ошибка выполнения команды. Таймаут")));
        link.UseSecondPort(0);
        return false;
    }
    return true;
}

std::string successMessage()
{
    return platform::toCp1251(QStringLiteral("Успешно!"));
}

} // namespace quorvex::ui
