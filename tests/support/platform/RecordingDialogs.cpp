#include "tests/support/platform/RecordingDialogs.h"

#include <utility>

namespace quorvex::platform {

void RecordingDialogs::showMessage(const std::string& text)
{
    m_calls.push_back({DialogCall::Kind::Message, {}, text, {}});
}

bool RecordingDialogs::askOkCancel(const std::string& caption, const std::string& text)
{
    m_calls.push_back({DialogCall::Kind::Question, caption, text, {}});
    if (m_answers.empty())
        return false;
    bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<std::string> RecordingDialogs::openFileName(const FileDialogOptions& options)
{
    m_calls.push_back({DialogCall::Kind::OpenFile, {}, {}, options});
    return takeFront(m_openFiles);
}

std::optional<std::string> RecordingDialogs::saveFileName(const FileDialogOptions& options)
{
    m_calls.push_back({DialogCall::Kind::SaveFile, {}, {}, options});
    return takeFront(m_saveFiles);
}

void RecordingDialogs::queueAnswer(bool ok)
{
    m_answers.push_back(ok);
}

void RecordingDialogs::queueOpenFile(std::optional<std::string> path)
{
    m_openFiles.push_back(std::move(path));
}

void RecordingDialogs::queueSaveFile(std::optional<std::string> path)
{
    m_saveFiles.push_back(std::move(path));
}

std::vector<std::string> RecordingDialogs::messages() const
{
    return textsOf(DialogCall::Kind::Message);
}

std::vector<std::string> RecordingDialogs::questions() const
{
    return textsOf(DialogCall::Kind::Question);
}

std::string RecordingDialogs::lastMessage() const
{
    for (auto it = m_calls.rbegin(); it != m_calls.rend(); ++it)
        if (it->kind == DialogCall::Kind::Message)
            return it->text;
    return {};
}

void RecordingDialogs::clear()
{
    m_calls.clear();
    m_answers.clear();
    m_openFiles.clear();
    m_saveFiles.clear();
}

std::vector<std::string> RecordingDialogs::textsOf(DialogCall::Kind kind) const
{
    std::vector<std::string> texts;
    for (const DialogCall& call : m_calls)
        if (call.kind == kind)
            texts.push_back(call.text);
    return texts;
}

std::optional<std::string>
RecordingDialogs::takeFront(std::deque<std::optional<std::string>>& queue)
{
    if (queue.empty())
        return std::nullopt;
    std::optional<std::string> front = std::move(queue.front());
    queue.pop_front();
    return front;
}

} // namespace quorvex::platform
