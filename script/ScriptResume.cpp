// "Продолжить" and "Шаг": the file from the line-number box's line on, read as command lines
// in the resume format (code in characters 1-2, data from the tenth character), first
// registrar only.
#include "script/Interpreter.h"

#include "platform/NumberText.h"
#include "script/RunEnding.h"

#include "link/Link.h"
#include "link/ResultState.h"
#include "script/TextFunctions.h"

namespace quorvex::script {

namespace {

const char* const kEndOfFileMessage = "Конец файла!";
constexpr std::size_t kResumeDataStart = 9;

} // namespace

RunEnd Interpreter::Resume()
{
    clearAbandonIfIdle();
    return runResumeLines(&Interpreter::resumeLine);
}

RunEnd Interpreter::Step()
{
    clearAbandonIfIdle();
    return runResumeLines(&Interpreter::stepLine);
}

// Reads lines from the line-number box's position on and hands each to handleLine until a
// RunEnding is thrown; the end of the file ends the run with a message.
RunEnd Interpreter::runResumeLines(ResumeLineHandler handleLine)
{
    if (m_inProgress)
        return RunEnd::Refused;
    InProgressScope scope(m_inProgress, m_host);
    if (!prepareResume())
        return m_lastEnd;
    try {
        std::string line;
        for (;;) {
            if (!readResumeLine(line)) {
                m_host.showMessage(kEndOfFileMessage);
                m_host.setLineNumberText("0");
                throw RunEnding{RunEnd::EndOfFile, true};
            }
            (this->*handleLine)(line);
        }
    } catch (const RunEnding& ending) {
        if (ending.orderly)
            endOrderly();
        m_lastEnd = ending.end;
    }
    return m_lastEnd;
}

// "Продолжить": every command is sent until a stop is asked for.
void Interpreter::resumeLine(const std::string& line)
{
    switch (classifyResumeLine(line)) {
    case ResumeLine::Ignored:
    case ResumeLine::TooShort:
        return;
    case ResumeLine::Comment:
        showResumeComment(line);
        return;
    case ResumeLine::Command:
        break;
    }
    sendResumeCommand(line);
    m_host.processPendingMessages();
    if (m_stopRequested)
        throw RunEnding{RunEnd::Stopped, true};
    if (!m_host.noRepaint())
        m_host.repaintForm();
}

// "Шаг": one line is executed and the run ends.
void Interpreter::stepLine(const std::string& line)
{
    const ResumeLine kind = classifyResumeLine(line);
    if (kind == ResumeLine::TooShort)
        return; // passed over: the step executes the next line instead
    if (kind == ResumeLine::Comment)
        showResumeComment(line);
    if (kind == ResumeLine::Command) {
        sendResumeCommand(line);
        m_host.processPendingMessages();
    }
    throw RunEnding{RunEnd::StepDone, true};
}

// Reopens the file, takes the line count from the line-number box and skips that many lines.
bool Interpreter::prepareResume()
{
    if (!reopenScript()) {
        m_lastEnd = RunEnd::OpenFailed;
        return false;
    }
    m_stopRequested = false;
    const std::string boxText = trimText(m_host.lineNumberText());
    const auto count = platform::toInt32(boxText);
    if (!count) {
        m_host.showMessage(platform::conversionError(boxText));
        m_lastEnd = RunEnd::Failed;
        return false;
    }
    m_lineCounter = *count;
    std::string skipped;
    for (std::int32_t i = 0; i < *count && readScriptLine(m_file, skipped); ++i) {
    }
    return true;
}

// One line, counted and shown, with only its trailing control characters removed.
bool Interpreter::readResumeLine(std::string& line)
{
    std::string read;
    if (!readCountedLine(read))
        return false;
    line = trimTrailingControls(read);
    m_rawLine = line;
    m_trimmedLine = trimText(line);
    return true;
}

Interpreter::ResumeLine Interpreter::classifyResumeLine(const std::string& line) const
{
    if (!line.empty() && line.front() == ';')
        return ResumeLine::Ignored;
    if (!line.empty() && line.front() == '+' && !m_host.noOutput())
        return ResumeLine::Comment;
    if (line.size() < 2)
        return ResumeLine::TooShort;
    return ResumeLine::Command;
}

void Interpreter::showResumeComment(const std::string& line)
{
    m_host.addMemoLine("Комментарий:: " + line.substr(1) + "!!!");
}

// Ends the run with its message when the command was refused before sending (naming the
// reason and the line) or the registrar did not answer.
void Interpreter::sendResumeCommand(const std::string& line)
{
    m_host.setCodeText(line.substr(0, 2));
    m_host.setDataText(line.size() > kResumeDataStart ? line.substr(kResumeDataStart) : "");
    link::UseSecondPort(0);
    const int sent = link::SendCommand(nullptr, link::PrinterResultsx, 0,
                                       m_host.currentCommandCode(), m_host.dataText());
    if (sent == -1)
        endWithMessage(namingLine(link::refusalMessage(link::processLink().lastRefusal())),
                       RunEnd::Failed, true);
    const link::RetData& answer = link::resultState().copy;
    if ((answer.ErrorFlags & (link::ERR_TIMEOUT | link::ERR_BUSY)) != 0)
        endWithMessage(noAnswerMessage(), RunEnd::TimedOut, true);
    m_host.setStatusText(statusText(answer));
    if (!m_host.noOutput()) {
        m_host.addMemoLine(exchangeLinePc(answer));
        m_host.addMemoLine(exchangeLineFp(answer));
        m_host.setStatusText(statusText(answer));
    }
}

} // namespace quorvex::script
