#include "script/ui/TForm7.h"

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
#include "script/ui/TForm7Host.h"
#include "script/ui/TForm8.h"
#include "ui_TForm7.h"

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

TForm7::TForm7(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm7>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    QFont memoFont = m_ui->Memo1->font();
    memoFont.setPixelSize(kMemoCharacterHeight);
    m_ui->Memo1->setFont(memoFont);
    m_ui->Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    platform::centreOnScreen(*this, QGuiApplication::primaryScreen());

    m_host = makeHost();
    m_interpreter = std::make_unique<script::Interpreter>(*m_host);
    connectHandlers();
    updateButtons();
}

TForm7::~TForm7() = default;

std::unique_ptr<ScriptWindowHost> TForm7::makeHost()
{
    ScriptWindowControls controls;
    controls.form = this;
    controls.memo = m_ui->Memo1;
    controls.lineNumber = m_ui->Edit4;
    controls.code = m_ui->Edit1;
    controls.data = m_ui->Edit3;
    controls.status = m_ui->Edit6;
    controls.noRepaint = m_ui->CheckBox1;
    controls.noOutput = m_ui->CheckBox2;
    controls.droppedLinesNotice = m_ui->droppedLinesNotice;

    ScriptWindowCallbacks callbacks;
    callbacks.currentCommandCode = [this] { return m_currentCode; };
    callbacks.stopResumeStepEnabled = [this](bool enabled) { setStopResumeStepEnabled(enabled); };
    callbacks.runStarted = [this] { beginBusy(); };
    callbacks.runEnded = [this] { endBusy(); };
    return std::make_unique<ScriptWindowHost>(controls, std::move(callbacks));
}

void TForm7::connectHandlers()
{
    connect(m_ui->Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    platform::connectOneAtATime(m_ui->Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connect(m_ui->Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
    connect(m_ui->Button4, &QPushButton::clicked, this, &TForm7::Button4Click);
    connect(m_ui->Button5, &QPushButton::clicked, this, &TForm7::Button5Click);
    platform::connectOneAtATime(m_ui->Button6, &QPushButton::clicked, this, &TForm7::Button6Click);
    connect(m_ui->Button7, &QPushButton::clicked, this, &TForm7::Button7Click);
    platform::connectOneAtATime(m_ui->Button8, &QPushButton::clicked, this, &TForm7::Button8Click);
    platform::connectOneAtATime(m_ui->Button9, &QPushButton::clicked, this, &TForm7::Button9Click);
    connect(m_ui->Button10, &QPushButton::clicked, this, &TForm7::Button10Click);
    platform::connectOneAtATime(m_ui->Button11, &QPushButton::clicked, this,
                                &TForm7::Button11Click);
    connect(m_ui->Button12, &QPushButton::clicked, this, &TForm7::Button12Click);
    connect(m_ui->Button13, &QPushButton::clicked, this, &TForm7::Button13Click);
    connect(m_ui->Edit1, &QLineEdit::textChanged, this, &TForm7::Edit1Change);
    connect(m_ui->Edit1, &QLineEdit::returnPressed, this, &TForm7::Edit1ReturnPressed);
    connect(m_ui->Memo1, &QWidget::customContextMenuRequested, this, &TForm7::Memo1ContextMenu);
}

// The memo's own menu with one entry more: the selected lines, or the line under the mouse, as
// the hexadecimal bytes they stand for.
void TForm7::Memo1ContextMenu(const QPoint& position)
{
    std::unique_ptr<QMenu> menu(m_ui->Memo1->createStandardContextMenu());
    const qsizetype lineUnderMouse = m_ui->Memo1->lineAt(position);
    QStringList lines = m_ui->Memo1->selectedLines();
    if (lines.isEmpty() && lineUnderMouse >= 0)
        lines << m_ui->Memo1->line(lineUnderMouse);
    menu->addSeparator();
    QAction* hex = menu->addAction(QStringLiteral("Показать в шестнадцатеричном виде"));
    hex->setEnabled(!lines.isEmpty());
    connect(hex, &QAction::triggered, this, [this, lines] {
        HexBytesWindow window(lines, this);
        platform::execModal(window);
    });
    menu->exec(m_ui->Memo1->viewport()->mapToGlobal(position));
}

const script::TwoRegistrarResults& TForm7::results() const
{
    return m_interpreter->resultLists();
}

void TForm7::setVariablesWindow(TForm8* variables)
{
    m_variablesWindow = variables;
    m_host->setVariablesWindow(variables);
    if (variables == nullptr)
        return;
    variables->setParent(this, variables->windowFlags() | Qt::Window);
    variables->setAnchorWindow(this);
}

void TForm7::setSecondRegistrarWindow(QDialog* second)
{
    m_secondWindow = second;
}

void TForm7::setComparisonWindow(QDialog* comparison)
{
    m_comparisonWindow = comparison;
}

bool TForm7::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

// A run lets the window process messages, so activation can happen in the middle of one; the
// run's stop request and its open file are then left alone.
void TForm7::FormActivate()
{
    if (!busy()) {
        m_interpreter->clearStopRequest();
        m_interpreter->closeScriptFileIfIdle();
    }
    m_activated = true;
    m_codeReady = true;
    updateButtons();
    m_ui->Edit1->setFocus();
    m_interpreter->seedRandom();
    loadRecentFiles();
}

void TForm7::loadRecentFiles()
{
    const script::RecentFileSlots files = script::readRecentFiles(link::session().settingsPath());
    showComboEntries(script::listedRecentFiles(files));
    m_ui->ComboBox1->setCurrentIndex(-1);
}

std::vector<std::string> TForm7::comboEntries() const
{
    std::vector<std::string> entries;
    for (int i = 0; i < m_ui->ComboBox1->count(); ++i)
        entries.push_back(toCp1251(m_ui->ComboBox1->itemText(i)));
    return entries;
}

void TForm7::showComboEntries(const std::vector<std::string>& entries)
{
    m_ui->ComboBox1->clear();
    for (const std::string& entry : entries)
        m_ui->ComboBox1->addItem(fromCp1251(entry));
}

void TForm7::Button5Click()
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
    m_ui->Edit4->setText(QStringLiteral("0"));
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
    m_ui->ComboBox1->setCurrentIndex(choice.selectedIndex);
}

void TForm7::Button6Click()
{
    runUnlessBusy([this] { m_interpreter->Run(); });
}

void TForm7::Button7Click()
{
    m_interpreter->RequestStop();
}

void TForm7::Button8Click()
{
    runUnlessBusy([this] { m_interpreter->Resume(); });
}

void TForm7::Button11Click()
{
    runUnlessBusy([this] { m_interpreter->Step(); });
}

void TForm7::Edit1Change()
{
    const std::string code = toCp1251(m_ui->Edit1->text());
    m_codeReady = code.size() == 2;
    updateButtons();
    if (!m_codeReady)
        return;
    const script::CommandCodeConversion conversion = script::convertCommandCode(code);
    m_currentCode = conversion.code;
    if (!conversion.valid)
        platform::dialogs().showMessage(script::kBadCommandCodeMessage);
}

void TForm7::Edit1ReturnPressed()
{
    m_ui->Edit3->setFocus();
}

void TForm7::Button2Click()
{
    runUnlessBusy([this] {
        script::executeManualCommand(*m_host, m_currentCode, toCp1251(m_ui->Edit3->text()),
                                     m_interpreter->resultLists());
    });
}

void TForm7::Button9Click()
{
    runUnlessBusy([this] {
        script::repeatManualCommand(*m_host, m_currentCode, toCp1251(m_ui->Edit3->text()),
                                    m_interpreter->resultLists());
    });
}

void TForm7::Button3Click()
{
    const std::string line =
        script::commandListLine(toCp1251(m_ui->Edit1->text()), toCp1251(m_ui->Edit3->text()));
    m_ui->ListBox1->addItem(fromCp1251(line));
}

void TForm7::Button4Click()
{
    m_host->clearMemo();
    repaint();
}

void TForm7::Button10Click()
{
    if (m_variablesWindow == nullptr)
        return;
    m_variablesWindow->writeHeaderAndNumbers(m_interpreter->variableCount());
    m_variablesWindow->show();
    m_variablesWindow->raise();
    m_variablesWindow->activateWindow();
}

void TForm7::Button12Click()
{
    if (m_secondWindow != nullptr)
        platform::execModal(*m_secondWindow);
}

void TForm7::Button13Click()
{
    if (m_comparisonWindow != nullptr)
        platform::execModal(*m_comparisonWindow);
}

void TForm7::Button1Click()
{
    reject();
}

void TForm7::reject()
{
    stopRunBeforeLeaving();
    QDialog::reject();
}

// Leaving the window ends whatever runs at its next line, a script-language run included, so
// no run goes on behind a hidden window.
void TForm7::stopRunBeforeLeaving()
{
    if (busy()) {
        m_interpreter->RequestStop();
        m_interpreter->abandonRun();
    }
}

// A button's action, refused while another one is executing; the sending buttons are disabled
// meanwhile.
void TForm7::runUnlessBusy(const std::function<void()>& action)
{
    if (busy())
        return;
    beginBusy();
    action();
    m_host->flush(); // the last state shows, whatever the pace let through
    endBusy();
}

void TForm7::beginBusy()
{
    ++m_busyDepth;
    updateButtons();
}

void TForm7::endBusy()
{
    if (m_busyDepth > 0)
        --m_busyDepth;
    updateButtons();
}

void TForm7::setStopResumeStepEnabled(bool enabled)
{
    m_stopResumeStepEnabled = enabled;
    updateButtons();
}

void TForm7::updateButtons()
{
    const bool idle = !busy();
    m_ui->GroupBox2->setEnabled(m_activated);
    m_ui->Button2->setEnabled(m_codeReady && idle);
    m_ui->Button9->setEnabled(idle);
    m_ui->Button3->setEnabled(m_activated);
    m_ui->Button5->setEnabled(m_activated && idle);
    m_ui->Button6->setEnabled(!m_scriptFile.empty() && idle);
    m_ui->Button7->setEnabled(m_stopResumeStepEnabled);
    m_ui->Button8->setEnabled(m_stopResumeStepEnabled && idle);
    m_ui->Button11->setEnabled(m_stopResumeStepEnabled && idle);
}

} // namespace quorvex::ui
