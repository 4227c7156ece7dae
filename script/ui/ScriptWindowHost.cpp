#include "script/ui/ScriptWindowHost.h"

#include "link/ExchangeLog.h"
#include "link/Link.h"
#include "platform/Dialogs.h"
#include "platform/qt/LineMemo.h"
#include "platform/qt/TextCodec.h"
#include "script/ui/VariablesWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

namespace quorvex::ui {

using platform::fromCp1251;
using platform::toCp1251;

ScriptWindowHost::ScriptWindowHost(const ScriptWindowControls& controls,
                                   ScriptWindowCallbacks callbacks)
    : m_controls(controls), m_callbacks(std::move(callbacks))
{
    m_controls.memo->setMaximumLineCount(kMemoLineLimit);
}

void ScriptWindowHost::setVariablesWindow(VariablesWindow* variables)
{
    m_variables = variables;
}

void ScriptWindowHost::addMemoLine(const std::string& line)
{
    // Control bytes of the exchange lines show as control pictures; the log keeps the bytes.
    m_gathered.append(platform::fromCp1251Visible(line));
}

void ScriptWindowHost::clearMemo()
{
    m_gathered.clear();
    m_controls.memo->clear();
    m_droppingTold = false;
    m_controls.droppedLinesNotice->hide();
}

// The boxes and the memo as the run left them since the last frame.
void ScriptWindowHost::showGathered()
{
    if (m_pendingLineNumber) {
        m_controls.lineNumber->setText(fromCp1251(*m_pendingLineNumber));
        m_pendingLineNumber.reset();
    }
    if (m_pendingStatus) {
        m_controls.status->setText(fromCp1251(*m_pendingStatus));
        m_pendingStatus.reset();
    }
    appendGatheredLines();
}

void ScriptWindowHost::appendGatheredLines()
{
    if (m_gathered.isEmpty())
        return;
    const qsizetype dropped = m_controls.memo->appendLines(m_gathered);
    m_gathered.clear();
    if (dropped > 0 && !m_droppingTold) {
        m_droppingTold = true;
        m_controls.droppedLinesNotice->setText(droppedLinesNotice());
        m_controls.droppedLinesNotice->show();
    }
}

// Said under the memo, where it never scrolls away; the exchange log is named only when it is
// written.
QString ScriptWindowHost::droppedLinesNotice()
{
    QString notice =
        QStringLiteral("Окно хранит последние %1 строк, более ранние удалены").arg(kMemoLineLimit);
    const link::ExchangeLog& log = link::processLink().exchangeLog();
    if (!log.name().empty())
        notice += QStringLiteral("; весь обмен записан в журнал обмена ") +
                  platform::fromCp1251(log.name());
    return notice + QLatin1Char('.');
}

void ScriptWindowHost::flush()
{
    showGathered();
    m_controls.form->repaint();
    m_pacer.restart();
}

void ScriptWindowHost::showMessage(const std::string& text)
{
    flush();
    platform::dialogs().showMessage(text);
}

std::string ScriptWindowHost::lineNumberText() const
{
    return m_pendingLineNumber ? *m_pendingLineNumber : toCp1251(m_controls.lineNumber->text());
}

// The box changes with the next frame; until then its new text is kept here.
void ScriptWindowHost::setLineNumberText(const std::string& text)
{
    m_pendingLineNumber = text;
}

void ScriptWindowHost::repaintLineNumber()
{
    m_controls.lineNumber->update(); // painted with the next frame's message processing
}

void ScriptWindowHost::setCodeText(const std::string& text)
{
    m_controls.code->setText(fromCp1251(text));
}

int ScriptWindowHost::currentCommandCode() const
{
    return m_callbacks.currentCommandCode ? m_callbacks.currentCommandCode() : 0;
}

void ScriptWindowHost::setDataText(const std::string& text)
{
    m_controls.data->setText(fromCp1251(text));
}

std::string ScriptWindowHost::dataText() const
{
    return toCp1251(m_controls.data->text());
}

void ScriptWindowHost::setStatusText(const std::string& text)
{
    m_pendingStatus = text;
}

void ScriptWindowHost::addVariableRow()
{
    if (m_variables != nullptr)
        m_variables->addRow();
}

void ScriptWindowHost::setVariableCell(int row, int column, const std::string& text)
{
    if (m_variables != nullptr)
        m_variables->setCell(row, column, fromCp1251(text));
}

void ScriptWindowHost::repaintVariables()
{
    if (m_variables != nullptr)
        m_variables->updateGrid();
}

bool ScriptWindowHost::noRepaint() const
{
    return m_controls.noRepaint->isChecked();
}

bool ScriptWindowHost::noOutput() const
{
    return m_controls.noOutput->isChecked();
}

void ScriptWindowHost::repaintForm()
{
    m_controls.form->update(); // painted with the next frame's message processing
}

// Once a frame: the gathered memo lines go in, and the window paints and takes its clicks.
void ScriptWindowHost::processPendingMessages()
{
    if (!m_pacer.due())
        return;
    showGathered();
    QCoreApplication::processEvents();
}

void ScriptWindowHost::setStopResumeStepEnabled(bool enabled)
{
    if (m_callbacks.stopResumeStepEnabled)
        m_callbacks.stopResumeStepEnabled(enabled);
}

void ScriptWindowHost::runStarted()
{
    m_pacer.restart();
    if (m_callbacks.runStarted)
        m_callbacks.runStarted();
}

void ScriptWindowHost::runEnded()
{
    flush();
    if (m_callbacks.runEnded)
        m_callbacks.runEnded();
}

} // namespace quorvex::ui
