#include "script/ui/ScriptWindow.h"

#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/qt/LineMemo.h"
#include "platform/qt/ModalWindow.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"
#include "script/Interpreter.h"
#include "script/ManualCommand.h"
#include "script/RecentFiles.h"
#include "script/ui/HexBytesWindow.h"
#include "script/ui/ScriptWindowHost.h"
#include "script/ui/VariablesWindow.h"
#include "ui_ScriptWindow.h"

#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>

namespace quorvex::ui {

using platform::fromCp1251;
using platform::toCp1251;

namespace {

constexpr int kMemoCharacterHeight = 15;

} // namespace

ScriptWindow::ScriptWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ScriptWindow>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    QFont memoFont = m_ui->messageMemo->font();
    memoFont.setPixelSize(kMemoCharacterHeight);
    m_ui->messageMemo->setFont(memoFont);
    m_ui->messageMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    platform::centreOnScreen(*this, QGuiApplication::primaryScreen());

    m_host = makeHost();
    m_interpreter = std::make_unique<script::Interpreter>(*m_host);
    connectHandlers();
    updateButtons();
}

ScriptWindow::~ScriptWindow() = default;

std::unique_ptr<ScriptWindowHost> ScriptWindow::makeHost()
{
    ScriptWindowControls controls;
    controls.form = this;
    controls.memo = m_ui->messageMemo;
    controls.lineNumber = m_ui->lineNumberEdit;
    controls.code = m_ui->codeEdit;
    controls.data = m_ui->dataEdit;
    controls.status = m_ui->statusEdit;
    controls.noRepaint = m_ui->noRepaintBox;
    controls.noOutput = m_ui->noOutputBox;
    controls.droppedLinesNotice = m_ui->droppedLinesNotice;

    ScriptWindowCallbacks callbacks;
    callbacks.currentCommandCode = [this] { return m_currentCode; };
    callbacks.stopResumeStepEnabled = [this](bool enabled) { setStopResumeStepEnabled(enabled); };
    callbacks.runStarted = [this] { beginBusy(); };
    callbacks.runEnded = [this] { endBusy(); };
    return std::make_unique<ScriptWindowHost>(controls, std::move(callbacks));
}

void ScriptWindow::connectHandlers()
{
    connect(m_ui->exitButton, &QPushButton::clicked, this, &ScriptWindow::exitWindow);
    platform::connectOneAtATime(m_ui->executeButton, &QPushButton::clicked, this,
                                &ScriptWindow::executeCommand);
    connect(m_ui->addToListButton, &QPushButton::clicked, this, &ScriptWindow::addToCommandList);
    connect(m_ui->clearMessagesButton, &QPushButton::clicked, this, &ScriptWindow::clearMessages);
    connect(m_ui->openFileButton, &QPushButton::clicked, this, &ScriptWindow::openScriptFile);
    platform::connectOneAtATime(m_ui->runButton, &QPushButton::clicked, this,
                                &ScriptWindow::runScript);
    connect(m_ui->stopButton, &QPushButton::clicked, this, &ScriptWindow::stopScript);
    platform::connectOneAtATime(m_ui->resumeButton, &QPushButton::clicked, this,
                                &ScriptWindow::resumeScript);
    platform::connectOneAtATime(m_ui->repeatButton, &QPushButton::clicked, this,
                                &ScriptWindow::repeatCommand);
    connect(m_ui->variablesButton, &QPushButton::clicked, this, &ScriptWindow::showVariables);
    platform::connectOneAtATime(m_ui->stepButton, &QPushButton::clicked, this,
                                &ScriptWindow::stepScript);
    connect(m_ui->secondRegistrarButton, &QPushButton::clicked, this,
            &ScriptWindow::openSecondRegistrar);
    connect(m_ui->comparisonButton, &QPushButton::clicked, this, &ScriptWindow::openComparison);
    connect(m_ui->codeEdit, &QLineEdit::textChanged, this, &ScriptWindow::readCommandCode);
    connect(m_ui->codeEdit, &QLineEdit::returnPressed, this, &ScriptWindow::focusDataEdit);
    connect(m_ui->messageMemo, &QWidget::customContextMenuRequested, this,
            &ScriptWindow::showMemoMenu);
}

// The memo's own menu with one entry more: the selected lines, or the line under the mouse, as
// the hexadecimal bytes they stand for.
void ScriptWindow::showMemoMenu(const QPoint& position)
{
    std::unique_ptr<QMenu> menu(m_ui->messageMemo->createStandardContextMenu());
    const qsizetype lineUnderMouse = m_ui->messageMemo->lineAt(position);
    QStringList lines = m_ui->messageMemo->selectedLines();
    if (lines.isEmpty() && lineUnderMouse >= 0)
        lines << m_ui->messageMemo->line(lineUnderMouse);
    menu->addSeparator();
    QAction* hex = menu->addAction(QStringLiteral("Показать в шестнадцатеричном виде"));
    hex->setEnabled(!lines.isEmpty());
    connect(hex, &QAction::triggered, this, [this, lines] {
        HexBytesWindow window(lines, this);
        platform::execModal(window);
    });
    menu->exec(m_ui->messageMemo->viewport()->mapToGlobal(position));
}

const script::TwoRegistrarResults& ScriptWindow::results() const
{
    return m_interpreter->resultLists();
}

void ScriptWindow::setVariablesWindow(VariablesWindow* variables)
{
    m_variablesWindow = variables;
    m_host->setVariablesWindow(variables);
    if (variables == nullptr)
        return;
    variables->setParent(this, variables->windowFlags() | Qt::Window);
    variables->setAnchorWindow(this);
}

void ScriptWindow::setSecondRegistrarWindow(QDialog* second)
{
    m_secondWindow = second;
}

void ScriptWindow::setComparisonWindow(QDialog* comparison)
{
    m_comparisonWindow = comparison;
}

bool ScriptWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        refreshOnActivation();
    return QDialog::event(event);
}

// A run lets the window process messages, so activation can happen in the middle of one; the
// run's stop request and its open file are then left alone.
void ScriptWindow::refreshOnActivation()
{
    if (!busy()) {
        m_interpreter->clearStopRequest();
        m_interpreter->closeScriptFileIfIdle();
    }
    m_activated = true;
    m_codeReady = true;
    updateButtons();
    m_ui->codeEdit->setFocus();
    m_interpreter->seedRandom();
    loadRecentFiles();
}

void ScriptWindow::loadRecentFiles()
{
    const script::RecentFileSlots files = script::readRecentFiles(link::session().settingsPath());
    showComboEntries(script::listedRecentFiles(files));
    m_ui->fileCombo->setCurrentIndex(-1);
}

std::vector<std::string> ScriptWindow::comboEntries() const
{
    std::vector<std::string> entries;
    for (int i = 0; i < m_ui->fileCombo->count(); ++i)
        entries.push_back(toCp1251(m_ui->fileCombo->itemText(i)));
    return entries;
}

void ScriptWindow::showComboEntries(const std::vector<std::string>& entries)
{
    m_ui->fileCombo->clear();
    for (const std::string& entry : entries)
        m_ui->fileCombo->addItem(fromCp1251(entry));
}

void ScriptWindow::openScriptFile()
{
    platform::FileDialogOptions options;
    options.filter = toCp1251(QStringLiteral("Текстовые файлы (*.txt)|*.TXT|Все|*.*"));
    options.defaultExtension = "txt";
    // Paths to and from the dialog are in the file system's encoding (UTF-8 on Linux); the
    // recent-files list in fpinit.ini is Windows-1251 text like the rest of the file.
    options.initialDirectory = platform::toFileName(QDir::currentPath());
    const std::optional<std::string> path = platform::dialogs().openFileName(options);
    if (!path)
        return;

    m_scriptFile = *path;
    m_interpreter->setScriptPath(m_scriptFile);
    m_ui->lineNumberEdit->setText(QStringLiteral("0"));
    m_interpreter->resetVariables();
    updateButtons();

    const std::string listed = toCp1251(platform::fromFileName(*path));
    const script::RecentFileChoice choice = script::chooseRecentFile(comboEntries(), listed);
    if (!choice.alreadyListed) {
        if (!script::writeRecentFiles(link::session().settingsPath(), choice.files))
            platform::dialogs().showMessage(
                toCp1251(QStringLiteral("Невозможно записать файл fpinit.ini: ")) +
                platform::reasonTextForWindow(platform::lastWriteFailure().reason));
        showComboEntries(choice.entries);
    }
    m_ui->fileCombo->setCurrentIndex(choice.selectedIndex);
}

void ScriptWindow::runScript()
{
    runUnlessBusy([this] { m_interpreter->Run(); });
}

void ScriptWindow::stopScript()
{
    m_interpreter->RequestStop();
}

void ScriptWindow::resumeScript()
{
    runUnlessBusy([this] { m_interpreter->Resume(); });
}

void ScriptWindow::stepScript()
{
    runUnlessBusy([this] { m_interpreter->Step(); });
}

void ScriptWindow::readCommandCode()
{
    const std::string code = toCp1251(m_ui->codeEdit->text());
    m_codeReady = code.size() == 2;
    updateButtons();
    if (!m_codeReady)
        return;
    const script::CommandCodeConversion conversion = script::convertCommandCode(code);
    m_currentCode = conversion.code;
    if (!conversion.valid)
        platform::dialogs().showMessage(script::kBadCommandCodeMessage);
}

void ScriptWindow::focusDataEdit()
{
    m_ui->dataEdit->setFocus();
}

void ScriptWindow::executeCommand()
{
    runUnlessBusy([this] {
        script::executeManualCommand(*m_host, m_currentCode, toCp1251(m_ui->dataEdit->text()),
                                     m_interpreter->resultLists());
    });
}

void ScriptWindow::repeatCommand()
{
    runUnlessBusy([this] {
        script::repeatManualCommand(*m_host, m_currentCode, toCp1251(m_ui->dataEdit->text()),
                                    m_interpreter->resultLists());
    });
}

void ScriptWindow::addToCommandList()
{
    const std::string line =
        script::commandListLine(toCp1251(m_ui->codeEdit->text()), toCp1251(m_ui->dataEdit->text()));
    m_ui->commandList->addItem(fromCp1251(line));
}

void ScriptWindow::clearMessages()
{
    m_host->clearMemo();
    repaint();
}

void ScriptWindow::showVariables()
{
    if (m_variablesWindow == nullptr)
        return;
    m_variablesWindow->writeHeaderAndNumbers(m_interpreter->variableCount());
    m_variablesWindow->show();
    m_variablesWindow->raise();
    m_variablesWindow->activateWindow();
}

void ScriptWindow::openSecondRegistrar()
{
    if (m_secondWindow != nullptr)
        platform::execModal(*m_secondWindow);
}

void ScriptWindow::openComparison()
{
    if (m_comparisonWindow != nullptr)
        platform::execModal(*m_comparisonWindow);
}

void ScriptWindow::exitWindow()
{
    reject();
}

void ScriptWindow::reject()
{
    stopRunBeforeLeaving();
    QDialog::reject();
}

// Leaving the window ends whatever runs at its next line, a script-language run included, so
// no run goes on behind a hidden window.
void ScriptWindow::stopRunBeforeLeaving()
{
    if (busy()) {
        m_interpreter->RequestStop();
        m_interpreter->abandonRun();
    }
}

// A button's action, refused while another one is executing; the sending buttons are disabled
// meanwhile.
void ScriptWindow::runUnlessBusy(const std::function<void()>& action)
{
    if (busy())
        return;
    beginBusy();
    action();
    m_host->flush(); // the last state shows, whatever the pace let through
    endBusy();
}

void ScriptWindow::beginBusy()
{
    ++m_busyDepth;
    updateButtons();
}

void ScriptWindow::endBusy()
{
    if (m_busyDepth > 0)
        --m_busyDepth;
    updateButtons();
}

void ScriptWindow::setStopResumeStepEnabled(bool enabled)
{
    m_stopResumeStepEnabled = enabled;
    updateButtons();
}

void ScriptWindow::updateButtons()
{
    const bool idle = !busy();
    m_ui->commandGroup->setEnabled(m_activated);
    m_ui->executeButton->setEnabled(m_codeReady && idle);
    m_ui->repeatButton->setEnabled(idle);
    m_ui->addToListButton->setEnabled(m_activated);
    m_ui->openFileButton->setEnabled(m_activated && idle);
    m_ui->runButton->setEnabled(!m_scriptFile.empty() && idle);
    m_ui->stopButton->setEnabled(m_stopResumeStepEnabled);
    m_ui->resumeButton->setEnabled(m_stopResumeStepEnabled && idle);
    m_ui->stepButton->setEnabled(m_stopResumeStepEnabled && idle);
}

} // namespace quorvex::ui
