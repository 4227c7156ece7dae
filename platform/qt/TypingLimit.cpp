#include "platform/qt/TypingLimit.h"

#include <QLineEdit>
#include <QValidator>

namespace quorvex::platform {

namespace {

// Validators see only the text an edit would get by an edit of the operator's; QLineEdit::setText
// does not ask them. The length of the text the edit held before is followed through
// textChanged, which comes only once a change is kept.
class TypingLimitValidator final : public QValidator {
public:
    TypingLimitValidator(QLineEdit& edit, int maxLength)
        : QValidator(&edit), m_maxLength(maxLength), m_keptLength(edit.text().size())
    {
        connect(&edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_keptLength = text.size(); });
    }

    State validate(QString& input, int& /*position*/) const override
    {
        const bool grows = input.size() > m_keptLength;
        return grows && input.size() > m_maxLength ? Invalid : Acceptable;
    }

    [[nodiscard]] int maxLength() const { return m_maxLength; }

private:
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
