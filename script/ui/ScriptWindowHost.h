#pragma once
// The script window as the interpreter's host: memo, boxes, check boxes and the variables
// window of "Команды и скрипты", with texts converted between Windows-1251 and QString.
// A run asks for repaints and message processing after every line; the host does them at the
// screen's pace (FramePacer), gathers memo lines in between, and always shows the last state
// at the end of a run, before a message box and on flush().
#include "script/FramePacer.h"
#include "script/ScriptHost.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace quorvex::platform {
class LineMemo;
}

namespace quorvex::ui {

class VariablesWindow;

struct ScriptWindowControls {
    QWidget* form = nullptr;
    platform::LineMemo* memo = nullptr;   // messageMemo
    QLineEdit* lineNumber = nullptr;      // lineNumberEdit
    QLineEdit* code = nullptr;            // codeEdit; its change handler converts the code
    QLineEdit* data = nullptr;            // dataEdit
    QLineEdit* status = nullptr;          // statusEdit
    QCheckBox* noRepaint = nullptr;       // noRepaintBox
    QCheckBox* noOutput = nullptr;        // noOutputBox
    QLabel* droppedLinesNotice = nullptr; // under the memo: it has dropped its oldest lines
};

// What the window does when the interpreter changes its run state.
struct ScriptWindowCallbacks {
    std::function<int()> currentCommandCode;
    std::function<void(bool enabled)> stopResumeStepEnabled;
    std::function<void()> runStarted;
    std::function<void()> runEnded;
};

class ScriptWindowHost final : public script::ScriptHost {
public:
    ScriptWindowHost(const ScriptWindowControls& controls, ScriptWindowCallbacks callbacks);

    // The variables window the grid calls go to; none means they are dropped.
    void setVariablesWindow(VariablesWindow* variables);

    void addMemoLine(const std::string& line) override;
    void clearMemo() override;
    void showMessage(const std::string& text) override;

    [[nodiscard]] std::string lineNumberText() const override;
    void setLineNumberText(const std::string& text) override;
    void repaintLineNumber() override;

    void setCodeText(const std::string& text) override;
    [[nodiscard]] int currentCommandCode() const override;
    void setDataText(const std::string& text) override;
    [[nodiscard]] std::string dataText() const override;
    void setStatusText(const std::string& text) override;

    void addVariableRow() override;
    void setVariableCell(int row, int column, const std::string& text) override;
    void repaintVariables() override;

    [[nodiscard]] bool noRepaint() const override;
    [[nodiscard]] bool noOutput() const override;

    void repaintForm() override;
    void processPendingMessages() override;

    void setStopResumeStepEnabled(bool enabled) override;
    void runStarted() override;
    void runEnded() override;

    // Shows what is still gathered: the memo lines and a repaint of the window.
    void flush();

    // The memo keeps this many lines; the exchange log holds everything.
    static constexpr int kMemoLineLimit = 100'000;

private:
    void showGathered();
    void appendGatheredLines();
    [[nodiscard]] static QString droppedLinesNotice();
    ScriptWindowControls m_controls;
    ScriptWindowCallbacks m_callbacks;
    VariablesWindow* m_variables = nullptr;
    script::FramePacer m_pacer;
    QStringList m_gathered;                         // memo lines not yet in the memo
    std::optional<std::string> m_pendingLineNumber; // texts not yet in their boxes
    std::optional<std::string> m_pendingStatus;
    bool m_droppingTold = false; // the notice says that the memo drops its oldest lines
};

} // namespace quorvex::ui
