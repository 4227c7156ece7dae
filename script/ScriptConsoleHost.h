#pragma once
// A ScriptHost over plain values, for running scripts without a window: quorvex-run and the
// tests. The code box converts like the window's (a bad digit shows "Неверный код команды!").
// Memo lines and messages are kept in order unless a subclass sends them elsewhere.
#include "script/ScriptHost.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quorvex::script {

class ScriptConsoleHost : public ScriptHost {
public:
    void addMemoLine(const std::string& line) override;
    void clearMemo() override;
    void showMessage(const std::string& text) override;

    [[nodiscard]] std::string lineNumberText() const override { return m_lineNumber; }
    void setLineNumberText(const std::string& text) override { m_lineNumber = text; }
    void repaintLineNumber() override {}

    void setCodeText(const std::string& text) override;
    [[nodiscard]] int currentCommandCode() const override { return m_code; }
    void setDataText(const std::string& text) override { m_data = text; }
    [[nodiscard]] std::string dataText() const override { return m_data; }
    void setStatusText(const std::string& text) override { m_status = text; }

    void addVariableRow() override { ++m_variableRows; }
    void setVariableCell(int row, int column, const std::string& text) override;
    void repaintVariables() override {}

    [[nodiscard]] bool noRepaint() const override { return m_noRepaint; }
    [[nodiscard]] bool noOutput() const override { return m_noOutput; }
    void repaintForm() override { ++m_repaints; }
    void processPendingMessages() override;

    void setStopResumeStepEnabled(bool enabled) override { m_stopResumeStepEnabled = enabled; }
    void runStarted() override {}
    void runEnded() override {}

    // The check boxes.
    void setNoRepaint(bool on) { m_noRepaint = on; }
    void setNoOutput(bool on) { m_noOutput = on; }
    // Called at every "process pending messages" (a test can press buttons from here).
    void setOnProcessMessages(std::function<void()> handler) { m_onProcess = std::move(handler); }
    // Keep memo lines and messages (default) or only pass them to the overrides.
    void setKeepTexts(bool keep) { m_keepTexts = keep; }

    [[nodiscard]] const std::vector<std::string>& memo() const { return m_memo; }
    [[nodiscard]] const std::vector<std::string>& messages() const { return m_messages; }
    [[nodiscard]] std::string codeText() const { return m_codeText; }
    [[nodiscard]] std::string statusText() const { return m_status; }
    [[nodiscard]] int variableRows() const { return m_variableRows; }
    // A variables-grid cell as last written; empty when never written.
    [[nodiscard]] std::string variableCell(int row, int column) const;
    [[nodiscard]] bool stopResumeStepEnabled() const { return m_stopResumeStepEnabled; }
    // Full repaints of the window asked for so far.
    [[nodiscard]] int repaints() const { return m_repaints; }

private:
    std::vector<std::string> m_memo;
    std::vector<std::string> m_messages;
    bool m_keepTexts = true;
    std::string m_lineNumber = "0";
    std::string m_codeText;
    int m_code = 0;
    std::string m_data;
    std::string m_status;
    int m_variableRows = 0;
    std::map<std::pair<int, int>, std::string> m_cells;
    bool m_noRepaint = false;
    bool m_noOutput = false;
    bool m_stopResumeStepEnabled = true;
    int m_repaints = 0;
    std::function<void()> m_onProcess;
};

} // namespace quorvex::script
