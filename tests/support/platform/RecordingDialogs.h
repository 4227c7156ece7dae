#pragma once
// A Dialogs double for tests: records every call in order and answers questions and file
// dialogs from queues the test fills. With empty queues a question is answered Cancel and a
// file dialog is cancelled, like the silent stand-in.
#include "platform/Dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::platform {

struct DialogCall {
    enum class Kind { Message, Question, OpenFile, SaveFile };
    Kind kind = Kind::Message;
    std::string caption;       // questions only
    std::string text;          // message and question text
    FileDialogOptions options; // file dialogs only
};

class RecordingDialogs final : public Dialogs {
public:
    void showMessage(const std::string& text) override;
    bool askOkCancel(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFileName(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileName(const FileDialogOptions& options) override;

    // Answers for the next questions, used in order (true = OK).
    void queueAnswer(bool ok);
    // File names for the next open / save dialogs; an empty optional means "cancelled".
    void queueOpenFile(std::optional<std::string> path);
    void queueSaveFile(std::optional<std::string> path);

    [[nodiscard]] const std::vector<DialogCall>& calls() const { return m_calls; }
    // Texts of the showMessage calls, in order.
    [[nodiscard]] std::vector<std::string> messages() const;
    // Texts of the askOkCancel calls, in order.
    [[nodiscard]] std::vector<std::string> questions() const;
    // The text of the last showMessage call; empty when there was none.
    [[nodiscard]] std::string lastMessage() const;
    // Forgets the recorded calls and the queued answers.
    void clear();

private:
    [[nodiscard]] std::vector<std::string> textsOf(DialogCall::Kind kind) const;
    static std::optional<std::string> takeFront(std::deque<std::optional<std::string>>& queue);

    std::vector<DialogCall> m_calls;
    std::deque<bool> m_answers;
    std::deque<std::optional<std::string>> m_openFiles;
    std::deque<std::optional<std::string>> m_saveFiles;
};

// Installs a RecordingDialogs as the process's dialogs for the lifetime of the guard.
class ScopedRecordingDialogs {
public:
    ScopedRecordingDialogs() { setDialogs(&m_dialogs); }
    ~ScopedRecordingDialogs() { setDialogs(nullptr); }
    ScopedRecordingDialogs(const ScopedRecordingDialogs&) = delete;
    ScopedRecordingDialogs& operator=(const ScopedRecordingDialogs&) = delete;

    RecordingDialogs& operator*() { return m_dialogs; }
    RecordingDialogs* operator->() { return &m_dialogs; }

private:
    RecordingDialogs m_dialogs;
};

} // namespace quorvex::platform
