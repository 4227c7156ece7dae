#include "script/ui/ComparisonWindow.h"

#include "ui_ComparisonWindow.h"

#include "link/Exchange.h"
#include "link/Link.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "link/Session.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/qt/TextCodec.h"
#include "platform/qt/WindowPlacement.h"
#include "script/RtfWriter.h"

#include <QEvent>
#include <QTextBlock>
#include <QTextCursor>

#include <filesystem>

namespace quorvex::ui {

namespace {

std::string cp1251(const QString& text)
{
    return platform::toCp1251(text);
}

QTextCharFormat formatOf(const script::ReportLine& line)
{
    QTextCharFormat format;
    format.setForeground(QColor(line.colour.red, line.colour.green, line.colour.blue));
    format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(line.italic);
    format.setProperty(QTextFormat::FontPixelSize, script::shownHeightPx(line));
    return format;
}

} // namespace

ComparisonWindow::ComparisonWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ComparisonWindow>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ComparisonWindow"));
    setWindowFlag(Qt::Tool);
    // The report is written by the program only, so the saved model always matches the view.
    m_ui->reportView->setReadOnly(true);
    m_ui->reportView->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                              Qt::TextSelectableByKeyboard);
    connect(m_ui->selectAllButton, &QPushButton::clicked, this, &ComparisonWindow::selectReport);
    connect(m_ui->copyButton, &QPushButton::clicked, this, &ComparisonWindow::copySelection);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &ComparisonWindow::saveAsRtf);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &ComparisonWindow::closeWindow);
    script::setComparisonReport(this);
}

ComparisonWindow::~ComparisonWindow()
{
    if (&script::comparisonReport() == static_cast<script::ComparisonReport*>(this))
        script::setComparisonReport(nullptr);
}

bool ComparisonWindow::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        platform::centreOnScreen(*this);
    if (event->type() == QEvent::WindowActivate)
        writeHeaderOnce();
    return QDialog::event(event);
}

void ComparisonWindow::writeHeaderOnce()
{
    if (!m_reportBuilt) {
        // Marked built first: a message box of the header's queries runs a nested message
        // loop, and an activation arriving there must not write a second header.
        m_reportBuilt = true;
        m_document.setDefaults(script::kReportBlue, true, true);
        if (link::session().secondConnected)
            writeHeader();
    }
    keepSelectionVisible();
}

void ComparisonWindow::writeHeader()
{
    const link::Session& s = link::session();
    m_document.setColour(script::kReportBlue);
    writeRegistrarBlock(1, s.firstPortText, s.firstSpeedText);
    writeRegistrarBlock(2, s.secondPortText, s.secondSpeedText);
}

// Port and speed, then the diagnostic query on that registrar: version and factory number,
// or the red "not answering" line. The port selection is back on the first registrar after.
void ComparisonWindow::writeRegistrarBlock(int registrar, const std::string& port,
                                           const std::string& speed)
{
    appendLine(cp1251(QStringLiteral("Регистратор №%1: ").arg(registrar)));
    appendLine(cp1251(QStringLiteral("Порт: ")) + port + cp1251(QStringLiteral(", Скорость:")) +
               speed);
    link::UseSecondPort(registrar == 2 ? 1 : 0);
    const link::ExchangeOutcome diagnostic =
        link::runOperation([](auto&&... fixed) { return link::GetDiagnosticInfo(fixed..., 0); });
    const link::RetData& answer = link::resultState().copy;
    // A query not sent leaves the previous answer in the copy: that is no answer either.
    if (!diagnostic.done()) {
        m_document.setColour(script::kReportRed);
        appendLine(cp1251(QStringLiteral("Устройство не отвечает!")));
    } else {
        appendLine(cp1251(QStringLiteral("Версия: ")) + answer.Fields[0]);
        appendLine(cp1251(QStringLiteral("Заводской номер: ")) + answer.Fields[6]);
        appendPlainLine(" ");
    }
    link::UseSecondPort(0);
}

void ComparisonWindow::AppendReportLine(const std::string& text, script::Rgb colour)
{
    m_document.AppendReportLine(text, colour);
    showLine(m_document.lines().back());
}

void ComparisonWindow::appendLine(const std::string& text)
{
    AppendReportLine(text, m_document.colour());
}

void ComparisonWindow::appendPlainLine(const std::string& text)
{
    m_document.appendPlainLine(text);
    showLine(m_document.lines().back());
}

void ComparisonWindow::showLine(const script::ReportLine& line)
{
    QTextCursor cursor(m_ui->reportView->document());
    cursor.movePosition(QTextCursor::End);
    const QTextCharFormat format = formatOf(line);
    if (m_document.lines().size() > 1)
        cursor.insertBlock(QTextBlockFormat(), format);
    else
        cursor.setBlockCharFormat(format);
    cursor.insertText(platform::fromCp1251(line.text), format);
}

QString ComparisonWindow::reportText() const
{
    return m_ui->reportView->toPlainText();
}

void ComparisonWindow::keepSelectionVisible()
{
    QPalette palette = m_ui->reportView->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    m_ui->reportView->setPalette(palette);
}

void ComparisonWindow::selectReport()
{
    m_ui->reportView->selectAll();
    keepSelectionVisible();
}

void ComparisonWindow::copySelection()
{
    m_ui->reportView->copy();
}

void ComparisonWindow::saveAsRtf()
{
    platform::FileDialogOptions options;
    options.filter = cp1251(QStringLiteral("Формат RTF (*.rtf)|*.RTF|Все  файлы (*.*)|*.*"));
    options.defaultExtension = "txt";
    const auto chosen = platform::dialogs().saveFileName(options);
    if (!chosen)
        return;
    // File names come back in the file system's own encoding, not Windows-1251.
    if (!confirmTarget(*chosen))
        return;
    if (const std::error_code error = script::saveRtf(*chosen, m_document.lines()))
        platform::dialogs().showMessage(cp1251(
            QStringLiteral("Невозможно записать файл ") + platform::fromFileName(*chosen) +
            QStringLiteral(": ") + platform::fromCp1251(platform::reasonTextForWindow(error))));
}

// True when the file does not exist yet or the operator agreed to replace it.
bool ComparisonWindow::confirmTarget(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return true;
    return platform::dialogs().askOkCancel(
        cp1251(QStringLiteral("Сохранение отчёта")),
        cp1251(QStringLiteral("Файл существует - перезаписать?")));
}

void ComparisonWindow::closeWindow()
{
    close();
}

} // namespace quorvex::ui
