#include "script/ui/HexBytesWindow.h"

#include "link/Frame.h"
#include "platform/qt/TextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvex::ui {

HexListing hexListing(const QStringList& memoLines, qsizetype limit)
{
    HexListing listing;
    QStringList hexLines;
    for (const QString& line : memoLines) {
        // Each shown character stands for one Windows-1251 byte.
        listing.totalBytes += line.size();
        const qsizetype room = limit - listing.shownBytes;
        if (room <= 0)
            continue;
        const std::string bytes = platform::toCp1251FromVisible(line.left(room));
        listing.shownBytes += static_cast<qsizetype>(bytes.size());
        hexLines << QString::fromStdString(link::hexBytes(bytes));
    }
    listing.text = hexLines.join(QLatin1Char('\n'));
    return listing;
}

HexBytesWindow::HexBytesWindow(const QStringList& memoLines, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Шестнадцатеричный вид"));
    setSizeGripEnabled(true);
    const HexListing listing = hexListing(memoLines, kShownBytes);

    auto* layout = new QVBoxLayout(this);
    if (listing.shownBytes < listing.totalBytes) {
        layout->addWidget(new QLabel(QStringLiteral("Показаны первые %1 байт из %2.")
                                         .arg(listing.shownBytes)
                                         .arg(listing.totalBytes),
                                     this));
    }
    m_hex = new QPlainTextEdit(this);
    m_hex->setReadOnly(true);
    m_hex->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_hex->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_hex->setPlainText(listing.text);
    m_hex->selectAll();
    layout->addWidget(m_hex, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("Копировать"), QDialogButtonBox::ActionRole);
    QPushButton* close =
        buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    layout->addWidget(buttons);
    connect(copy, &QPushButton::clicked, this, &HexBytesWindow::copyHex);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Large enough to read, never larger than the screen.
    QSize size(760, 420);
    if (const QScreen* screen = parent != nullptr ? parent->screen() : this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

void HexBytesWindow::copyHex() const
{
    const QString selected = m_hex->textCursor().selectedText();
    // The selection's line ends come as paragraph separators.
    QApplication::clipboard()->setText(
        selected.isEmpty()
            ? m_hex->toPlainText()
            : QString(selected).replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
}

} // namespace quorvex::ui
