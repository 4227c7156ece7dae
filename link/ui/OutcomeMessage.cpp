#include "link/ui/OutcomeMessage.h"

#include "platform/qt/TextCodec.h"

namespace quorvex::ui {

bool showOutcome(const link::ExchangeOutcome& outcome, const QString& done, const QString& failed,
                 const QString& timedOut)
{
    return link::tellOutcome(outcome, platform::toCp1251(done), platform::toCp1251(failed),
                             platform::toCp1251(timedOut));
}

} // namespace quorvex::ui
