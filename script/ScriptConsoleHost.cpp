#include "script/ScriptConsoleHost.h"

#include "script/ManualCommand.h"

namespace quorvex::script {

void ScriptConsoleHost::addMemoLine(const std::string& line)
{
    if (m_keepTexts)
        m_memo.push_back(line);
}

void ScriptConsoleHost::clearMemo()
{
    m_memo.clear();
}

void ScriptConsoleHost::showMessage(const std::string& text)
{
    if (m_keepTexts)
        m_messages.push_back(text);
}

// Like the window's code box: converts on a change of the text, and only texts of exactly two
// characters; any other length leaves the code as it was.
void ScriptConsoleHost::setCodeText(const std::string& text)
{
    if (text == m_codeText)
        return;
    m_codeText = text;
    if (text.size() != 2)
        return;
    const CommandCodeConversion conversion = convertCommandCode(text);
    m_code = conversion.code;
    if (!conversion.valid)
        showMessage(kBadCommandCodeMessage);
}

void ScriptConsoleHost::setVariableCell(int row, int column, const std::string& text)
{
    m_cells[{row, column}] = text;
}

std::string ScriptConsoleHost::variableCell(int row, int column) const
{
    const auto found = m_cells.find({row, column});
    return found == m_cells.end() ? std::string() : found->second;
}

void ScriptConsoleHost::processPendingMessages()
{
    if (m_onProcess)
        m_onProcess();
}

} // namespace quorvex::script
