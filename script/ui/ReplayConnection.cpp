#include "script/ui/ReplayConnection.h"

#include "emulator/Replay.h"
#include "link/ConnectionSettings.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "platform/qt/TextCodec.h"
#include "script/CompareIgnore.h"
#include "script/RecordingComparison.h"
#include "serial/PortRegistry.h"

#include <iostream>
#include <memory>

namespace quorvex::ui {

namespace {

void tell(const QString& text)
{
    std::cerr << "quorvex: " << text.toStdString() << std::endl;
}

// The replay chosen last and its recording, until the next port is prepared.
struct ChosenReplay {
    std::string portName;
    std::shared_ptr<script::RecordedSecondRegistrar> recording;
};

ChosenReplay& chosenReplay()
{
    static ChosenReplay chosen;
    return chosen;
}

QString refusalText(emulator::LoadedReplay::Refusal refusal)
{
    switch (refusal) {
    case emulator::LoadedReplay::Refusal::Unreadable:
        return QStringLiteral("файл не найден или не читается");
    case emulator::LoadedReplay::Refusal::ConvertedToUtf8:
        return QStringLiteral("он в кодировке UTF-8, а журнал обмена пишется в Windows-1251");
    case emulator::LoadedReplay::Refusal::NoExchange:
    case emulator::LoadedReplay::Refusal::None:
        break;
    }
    return QStringLiteral("в нём нет ни одного обмена");
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
    const QString shown = platform::fromFileName(*path);
    // The window's comparison asks on its own (the header's diagnostic request), so a request
    // asked more often than recorded gets the last answer again.
    const emulator::LoadedReplay loaded = emulator::loadReplay(
        *path, shown.toStdString(), emulator::ReplayAnswers::WhenUsedUp::RepeatLast);
    for (const std::string& message : loaded.messages)
        tell(QString::fromStdString(message));
    if (!loaded.answers) {
        platform::dialogs().showMessage(platform::toCp1251(
            QStringLiteral("Журнал обмена ") + shown + QStringLiteral(" нельзя воспроизвести: ") +
            refusalText(loaded.refusal)));
        return std::nullopt;
    }
    const std::string portName = "replay:" + *path;
    auto recording = std::make_shared<script::RecordedSecondRegistrar>();
    emulator::registerReplayPort(
        serial::portRegistry(), portName, loaded.answers,
        [recording](const emulator::HandledRequest& request, std::size_t timesRecorded) {
            tell(platform::fromCp1251(emulator::describeUnrecorded(request, timesRecorded)));
            recording->noteUnrecorded(request.command, request.data, timesRecorded);
        });
    chosenReplay() = {portName, std::move(recording)};
    return portName;
}

void forgetReplayPort(const std::string& portName)
{
    serial::portRegistry().removeVirtualPort(portName);
}

void prepareSecondRegistrar(const std::string& portName)
{
    const bool replay = !portName.empty() && portName == chosenReplay().portName;
    script::setRecordedSecond(replay ? chosenReplay().recording : nullptr);
    link::processLink().setSecondPortLogged(!replay);
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
