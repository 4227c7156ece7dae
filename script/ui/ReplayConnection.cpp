#include "script/ui/ReplayConnection.h"

#include "emulator/Replay.h"
#include "link/ConnectionSettings.h"
#include "link/ExchangeLogReader.h"
#include "platform/Dialogs.h"
#include "platform/qt/TextCodec.h"
#include "script/CompareIgnore.h"
#include "serial/PortRegistry.h"

#include <iostream>

namespace quorvex::ui {

namespace {

void tell(const QString& text)
{
    std::cerr << "quorvex: " << text.toStdString() << std::endl;
}

} // namespace

QString replayEntryText()
{
    return QStringLiteral("Запись обмена…");
}

std::optional<std::string> chooseReplayPort()
{
    platform::FileDialogOptions options;
    options.filter =
        platform::toCp1251(QStringLiteral("Журнал обмена (*.log)|*.log|Все  файлы (*.*)|*.*"));
    options.title = platform::toCp1251(replayEntryText());
    const std::optional<std::string> path = platform::dialogs().openFileName(options);
    if (!path)
        return std::nullopt;
    const QString shown = QString::fromStdString(*path);
    const auto contents = link::readExchangeLogFile(*path);
    if (!contents) {
        tell(QStringLiteral("cannot read the exchange log ") + shown);
        return std::string();
    }
    for (const link::LogProblem& problem : contents->problems)
        tell(shown + QStringLiteral(":%1: ").arg(problem.line) +
             QString::fromStdString(problem.text) + QStringLiteral(" (skipped)"));
    if (contents->exchanges.empty()) {
        tell(QStringLiteral("no exchange to replay in ") + shown);
        return std::string();
    }
    const std::string portName = "replay:" + *path;
    emulator::registerReplayPort(
        serial::portRegistry(), portName, *contents, [](const emulator::HandledRequest& request) {
            tell(QStringLiteral("never recorded: ") +
                 platform::fromCp1251(emulator::describeRequest(request.command, request.data)));
        });
    return portName;
}

void forgetReplayPort(const std::string& portName)
{
    serial::portRegistry().removeVirtualPort(portName);
}

void applyStoredIgnoreList(const std::string& settingsPath)
{
    const script::ParsedIgnoreList parsed =
        script::parseIgnoreList(link::readComparisonIgnore(settingsPath));
    if (!parsed.error.empty())
        tell(QStringLiteral("[SecondRegistrator] Ignore: ") + platform::fromCp1251(parsed.error));
    script::setComparisonIgnore(parsed.list);
}

} // namespace quorvex::ui
