#include "link/Connect.h"

#include "link/Exchange.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"

namespace quorvex::link {

bool openRegistrar(const PortOpening& opening)
{
    const int handle = opening.registrar == Registrar::First
                           ? OpenFirstPort(opening.portName, opening.baudRate)
                           : OpenSecondPort(opening.portName, opening.baudRate);
    if (handle == -1)
        return false;
    if (opening.remembered &&
        !writeRegistrarChoice(session().settingsPath(), opening.registrar, *opening.remembered))
        platform::dialogs().showMessage(
            "Невозможно записать файл fpinit.ini: " +
            platform::reasonTextForWindow(platform::lastWriteFailure().reason));
    return true;
}

bool registrarAnswers()
{
    constexpr int kStatusW = 0;
    const ExchangeOutcome probe =
        runOperation([](auto&&... fixed) { return GetStatus(fixed..., kStatusW); }, Pump::Yes);
    return probe.kind != Outcome::TimedOut;
}

} // namespace quorvex::link
