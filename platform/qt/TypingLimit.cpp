#include "platform/qt/TypingLimit.h"

#include <QLineEdit>
#include <QValidator>

namespace quorvex::platform {

namespace {

// The length of the text the edit held before a change is followed through textChanged, which
// comes only once a change is kept. QLineEdit::setText asks the validator too, and a text it
// refuses there would leave the edit taking every later keystroke unchecked (an edit undoes a
// refused change only when the text before it was accepted): a text set by the program is told
// apart by the undo history, which setText clears and every typed change adds to.
class TypingLimitValidator final : public QValidator {
public:
    TypingLimitValidator(QLineEdit& edit, int maxLength)
        : QValidator(&edit), m_edit(edit), m_maxLength(maxLength), m_keptLength(edit.text().size())
    {
        connect(&edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_keptLength = text.size(); });
    }

    State validate(QString& input, int& /*position*/) const override
    {
        const bool typed = m_edit.isUndoAvailable();
        const bool grows = input.size() > m_keptLength;
        return typed && grows && input.size() > m_maxLength ? Invalid : Acceptable;
    }

    [[nodiscard]] int maxLength() const { return m_maxLength; }

private:
    const QLineEdit& m_edit;
    int m_maxLength;
    qsizetype m_keptLength;
};

} // namespace

void limitTyping(QLineEdit& edit, int maxLength)
{
    edit.setValidator(new TypingLimitValidator(edit, maxLength));
}

int typingLimit(const QLineEdit& edit)
{
    const auto* limit = dynamic_cast<const TypingLimitValidator*>(edit.validator());
    return limit != nullptr ? limit->maxLength() : 0;
}

} // namespace quorvex::platform
