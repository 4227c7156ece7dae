#include "netcfg/ui/NetcfgExchange.h"

#include "link/ui/OutcomeMessage.h"
#include "platform/qt/TextCodec.h"

namespace quorvex::ui {

link::ExchangeOutcome exchangeOnLink(link::Link& link, int command, const std::string& data)
{
    const link::ExchangeOutcome outcome = link::runCommand(command, data, link::Pump::No, link);
    (void)showOutcome(outcome, {}, {}, QStringLiteral("Ошибка выполнения команды. Таймаут"));
    if (outcome.kind == link::Outcome::TimedOut)
        link.UseSecondPort(0);
    return outcome;
}

bool answered(const link::ExchangeOutcome& outcome)
{
    return outcome.kind == link::Outcome::Done || outcome.kind == link::Outcome::Refused;
}

std::string successMessage()
{
    return platform::toCp1251(QStringLiteral("Успешно!"));
}

} // namespace quorvex::ui
