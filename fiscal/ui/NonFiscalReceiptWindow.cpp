#include "fiscal/ui/NonFiscalReceiptWindow.h"

#include "platform/Dialogs.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "ui_NonFiscalReceiptWindow.h"

#include <QStringList>

namespace quorvex::ui {

using platform::toCp1251;

NonFiscalReceiptWindow::NonFiscalReceiptWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::NonFiscalReceiptWindow>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    m_ui->separatorCombo->setCurrentIndex(-1);
    m_ui->barcodeTypeCombo->setCurrentIndex(-1);
    platform::connectOneAtATime(m_ui->addCommentButton, &QPushButton::clicked, this,
                                &NonFiscalReceiptWindow::addCommentLine);
    platform::connectOneAtATime(m_ui->addSeparatorButton, &QPushButton::clicked, this,
                                &NonFiscalReceiptWindow::addSeparatorLine);
    platform::connectOneAtATime(m_ui->addBarcodeButton, &QPushButton::clicked, this,
                                &NonFiscalReceiptWindow::addBarcodeLine);
    platform::connectOneAtATime(m_ui->printButton, &QPushButton::clicked, this,
                                &NonFiscalReceiptWindow::printReceipt);
    platform::connectOneAtATime(m_ui->closeReceiptButton, &QPushButton::clicked, this,
                                &NonFiscalReceiptWindow::closeReceipt);
    platform::connectOneAtATime(m_ui->clearButton, &QPushButton::clicked, this,
                                &NonFiscalReceiptWindow::clearReceipt);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::close);
}

NonFiscalReceiptWindow::~NonFiscalReceiptWindow() = default;

void NonFiscalReceiptWindow::addCommentLine()
{
    showComposed(m_lines.addComment(toCp1251(m_ui->commentEdit->text())));
}

// The item order of both choices gives the type number; no choice is type 0.
void NonFiscalReceiptWindow::addSeparatorLine()
{
    showComposed(m_lines.addSeparator(m_ui->separatorCombo->currentIndex() + 1));
}

void NonFiscalReceiptWindow::addBarcodeLine()
{
    showComposed(m_lines.addBarcode(m_ui->barcodeTypeCombo->currentIndex() + 1,
                                    toCp1251(m_ui->barcodeEdit->text())));
}

void NonFiscalReceiptWindow::printReceipt()
{
    fiscal::printNonFiscalReceipt(m_lines.lines());
}

void NonFiscalReceiptWindow::closeReceipt()
{
    fiscal::closeNonFiscalReceipt();
}

void NonFiscalReceiptWindow::clearReceipt()
{
    m_lines.clear();
    showComposed(nullptr);
}

void NonFiscalReceiptWindow::showComposed(const char* refusal)
{
    if (refusal != nullptr) {
        platform::dialogs().showMessage(refusal);
        return;
    }
    QStringList shown;
    for (const std::string& line : m_lines.lines())
        shown << platform::fromCp1251(line);
    m_ui->linesMemo->setPlainText(shown.join(QLatin1Char('\n')));
}

} // namespace quorvex::ui
