#pragma once
// What the script interpreter needs from the window that hosts it ("Команды и скрипты"):
// the message memo, the line-number, code, data and status boxes, the variables window, the
// two check boxes, repainting and message processing. Every text is Windows-1251 bytes.
// The window implements it over its widgets; quorvex-run and the tests over plain values.
#include <string>

namespace quorvex::script {

class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // Message memo (messageMemo).
    virtual void addMemoLine(const std::string& line) = 0;
    virtual void clearMemo() = 0;
    // A modal message box with OK (the window passes it to platform::dialogs()).
    virtual void showMessage(const std::string& text) = 0;

    // Line-number box (lineNumberEdit), editable by the operator.
    [[nodiscard]] virtual std::string lineNumberText() const = 0;
    virtual void setLineNumberText(const std::string& text) = 0;
    virtual void repaintLineNumber() = 0;

    // Code box (codeEdit): setting its text converts exactly two hexadecimal characters into the
    // current command code (a bad digit shows "Неверный код команды!"); any other length
    // leaves the code as it was.
    virtual void setCodeText(const std::string& text) = 0;
    [[nodiscard]] virtual int currentCommandCode() const = 0;
    // Data box (dataEdit) and status box (statusEdit).
    virtual void setDataText(const std::string& text) = 0;
    [[nodiscard]] virtual std::string dataText() const = 0;
    virtual void setStatusText(const std::string& text) = 0;

    // Variables window (VariablesWindow, variableGrid): rows are 1-based below the header row. The
    // grid is never cleared; addVariableRow appends one row at its end.
    virtual void addVariableRow() = 0;
    virtual void setVariableCell(int row, int column, const std::string& text) = 0;
    virtual void repaintVariables() = 0;

    // Check boxes "Не перерисовывать форму" (noRepaintBox) and "Не выводить данные" (noOutputBox).
    [[nodiscard]] virtual bool noRepaint() const = 0;
    [[nodiscard]] virtual bool noOutput() const = 0;

    // Full repaint of the window, and one round of pending-message processing.
    virtual void repaintForm() = 0;
    virtual void processPendingMessages() = 0;

    // "Стоп", "Продолжить" and "Шаг": enabled when a run starts, disabled by DeclareBeg.
    virtual void setStopResumeStepEnabled(bool enabled) = 0;
    // Around every run, resume and step, so the window can disable its other buttons and
    // restore them afterwards.
    virtual void runStarted() = 0;
    virtual void runEnded() = 0;
};

} // namespace quorvex::script
