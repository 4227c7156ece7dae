#include "fiscal/ui/ZReportWindow.h"

#include "ui_ZReportWindow.h"

#include "fiscal/ui/WindowMessages.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "link/ui/OutcomeMessage.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/WindowPlacement.h"

#include <QShowEvent>

namespace quorvex::ui {

namespace {

// The report windows send the default operator password, not the sales window's.
const std::string kOperatorPassword = "9011";
constexpr std::int8_t kZReportType = 0;
constexpr int kAllArticles = 0;

} // namespace

ZReportWindow::ZReportWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ZReportWindow>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ZReportWindow"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    platform::connectOneAtATime(m_ui->runButton, &QPushButton::clicked, this,
                                &ZReportWindow::printZReport);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &ZReportWindow::closeWindow);
}

ZReportWindow::~ZReportWindow() = default;

void ZReportWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        platform::centreOnScreen(*this);
}

void ZReportWindow::printZReport()
{
    const link::ExchangeOutcome report = link::runOperation(
        [](auto&&... fixed) {
            return link::DailyReport(fixed..., kOperatorPassword, kZReportType);
        },
        link::Pump::Yes);
    showOutcome(report, QStringLiteral("Z-Отчет - успешно"), QStringLiteral("Ошибка Z-Отчета"));

    if (!m_ui->deleteArticlesBox->isChecked())
        return;
    // The deletion has no message of its own; the callback reports registrar errors. A refusal
    // is told unless the report's refusal already said so.
    const link::ExchangeOutcome deletion = link::runOperation([](auto&&... fixed) {
        return link::DeleteArticles(fixed..., kAllArticles, kOperatorPassword);
    });
    if (deletion.kind == link::Outcome::NotSent && report.kind != link::Outcome::NotSent)
        showOutcome(deletion, {}, {});
}

void ZReportWindow::closeWindow()
{
    close();
}

} // namespace quorvex::ui
