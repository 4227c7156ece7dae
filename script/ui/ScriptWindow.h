#pragma once
// Window "Команды и скрипты": script files and the recent-files list, the buttons that run,
// stop, resume and step scripts, the message memo and the manual command group.
#include "script/ExecuteOnBoth.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class ScriptWindow;
}
namespace quorvex::script {
class Interpreter;
}

namespace quorvex::ui {

class ScriptWindowHost;
class VariablesWindow;

class ScriptWindow : public QDialog {
    Q_OBJECT
public:
    explicit ScriptWindow(QWidget* parent = nullptr);
    ~ScriptWindow() override;

    // Windows this one opens. The variables window becomes a child window of this one, so it
    // stays usable while this window is shown modally.
    void setVariablesWindow(VariablesWindow* variables);
    void setSecondRegistrarWindow(QDialog* second); // "Ещё один регистратор"
    void setComparisonWindow(QDialog* comparison);  // "Окно сравнения"

    // Each time the window becomes the active window (also called directly by tests).
    void refreshOnActivation();

    [[nodiscard]] int currentCommandCode() const { return m_currentCode; }
    [[nodiscard]] const std::string& scriptFile() const { return m_scriptFile; }
    [[nodiscard]] script::Interpreter& interpreter() { return *m_interpreter; }
    // The interpreter's host over this window's controls.
    [[nodiscard]] ScriptWindowHost& host() { return *m_host; }
    // The result lists of the manual buttons and of scripts: one pair, kept by the interpreter.
    [[nodiscard]] const script::TwoRegistrarResults& results() const;
    // True while a run, resume, step or manual command is executing.
    [[nodiscard]] bool busy() const { return m_busyDepth > 0; }

protected:
    bool event(QEvent* event) override;
    // Esc, the close box and "Выход": a run in progress is asked to stop first.
    void reject() override;

private:
    void connectHandlers();
    std::unique_ptr<ScriptWindowHost> makeHost();

    void exitWindow();          // "Выход"
    void executeCommand();      // "Выполнить" of the manual group
    void addToCommandList();    // "В список"
    void clearMessages();       // "Очистить сообщения"
    void openScriptFile();      // "Открыть файл"
    void runScript();           // "Выполнить": run the script
    void stopScript();          // "Стоп"
    void resumeScript();        // "Продолжить"
    void repeatCommand();       // "Повторить команду"
    void showVariables();       // "Переменные"
    void stepScript();          // "Шаг"
    void openSecondRegistrar(); // "Ещё один регистратор"
    void openComparison();      // "Окно сравнения"
    void readCommandCode();
    void focusDataEdit();
    void showMemoMenu(const QPoint& position);

    void loadRecentFiles();
    [[nodiscard]] std::vector<std::string> comboEntries() const;
    void showComboEntries(const std::vector<std::string>& entries);
    void stopRunBeforeLeaving();

    void runUnlessBusy(const std::function<void()>& action);
    void beginBusy();
    void endBusy();
    void setStopResumeStepEnabled(bool enabled);
    void updateButtons();

    std::unique_ptr<Ui::ScriptWindow> m_ui;
    std::unique_ptr<ScriptWindowHost> m_host;
    std::unique_ptr<script::Interpreter> m_interpreter;
    std::string m_scriptFile;
    int m_currentCode = 0;

    VariablesWindow* m_variablesWindow = nullptr;
    QDialog* m_secondWindow = nullptr;
    QDialog* m_comparisonWindow = nullptr;

    // Enabled states the window decides; busy() overrides them for the sending buttons.
    int m_busyDepth = 0;
    bool m_activated = false; // manual group, "Открыть файл", "В список"
    bool m_codeReady = false; // manual "Выполнить": two characters or activation
    bool m_stopResumeStepEnabled = true; // "Стоп", "Продолжить", "Шаг"
};

} // namespace quorvex::ui
