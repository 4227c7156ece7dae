#include "fiscal/ui/SalesWindow.h"

#include "fiscal/ArticleFile.h"
#include "fiscal/NumberText.h"
#include "fiscal/RegistrarStep.h"
#include "fiscal/SaleSequence.h"
#include "fiscal/ui/ArticleGrid.h"
#include "link/Operations.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"
#include "platform/qt/OneClickAtATime.h"
#include "platform/qt/TextCodec.h"
#include "ui_SalesWindow.h"

#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QShowEvent>

#include <array>

namespace quorvex::ui {

using platform::fromCp1251;
using platform::toCp1251;

namespace {

constexpr std::array<int, ArticleGrid::kColumns> kColumnWidths = {40, 58, 54, 59, 45, 119};
constexpr const char* kPaymentLetters = "PNCDIJKL";
constexpr int kUpperRowChoice = 1;

std::string cp1251(const char* utf8)
{
    return toCp1251(QString::fromUtf8(utf8));
}

void tell(const std::string& message)
{
    platform::dialogs().showMessage(message);
}

const std::string& answerField(int index)
{
    return link::resultState().copy.Fields[static_cast<std::size_t>(index)];
}

} // namespace

SalesWindow::SalesWindow(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::SalesWindow>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    setUpGrid();
    connectHandlers();
}

SalesWindow::~SalesWindow() = default;

void SalesWindow::setUpGrid()
{
    m_grid = new ArticleGrid(kGridRows, this);
    QTableView* view = m_ui->articleTable;
    view->setModel(m_grid);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // The column widths are fixed; a header too long for its column goes on a second line.
    QHeaderView* header = view->horizontalHeader();
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    header->setFixedHeight(2 * fontMetrics().lineSpacing() + 8);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    int gridWidth = 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < ArticleGrid::kColumns; ++column) {
        view->setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
        gridWidth += kColumnWidths[static_cast<std::size_t>(column)];
    }
    view->setFixedWidth(gridWidth); // no empty band beside the last column
    // A selection, not the current cell: the view moves its current cell by itself when it first
    // gets the focus, which selects nothing. A mouse press selects through `pressed`, which also
    // comes when the row pressed is the one already selected (after a reopening, or after the
    // password changed), so a press's own selection change is left to it. The press is over for
    // the selection once `pressed` comes: a message box shown for the row may take the mouse
    // release, and the keys must go on selecting after it.
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (!m_gridPressed && !selected.indexes().isEmpty()) {
                    const QModelIndex cell = selected.indexes().first();
                    selectArticle(cell.column(), cell.row() + 1);
                }
            });
    connect(view, &QAbstractItemView::pressed, this, [this](const QModelIndex& cell) {
        m_gridPressed = false;
        selectArticle(cell.column(), cell.row() + 1);
    });
    view->viewport()->installEventFilter(this);
}

void SalesWindow::connectHandlers()
{
    const std::pair<QPushButton*, void (SalesWindow::*)()> buttons[] = {
        {m_ui->openReceiptButton, &SalesWindow::openReceipt},
        {m_ui->printCommentButton, &SalesWindow::printComment},
        {m_ui->displayButton, &SalesWindow::showOnDisplay},
        {m_ui->barcodeButton, &SalesWindow::printBarcode},
        {m_ui->sellButton, &SalesWindow::sellArticle},
        {m_ui->returnButton, &SalesWindow::returnArticle},
        {m_ui->subtotalButton, &SalesWindow::querySubtotal},
        {m_ui->subtotalAmountButton, &SalesWindow::subtotalAmountDiscount},
        {m_ui->subtotalPercentButton, &SalesWindow::subtotalPercentDiscount},
        {m_ui->taxGroupButton, &SalesWindow::taxGroupDiscount},
        {m_ui->goodsGroupButton, &SalesWindow::goodsGroupDiscount},
        {m_ui->payButton, &SalesWindow::pay},
        {m_ui->closeReceiptButton, &SalesWindow::closeReceipt},
        {m_ui->cancelReceiptButton, &SalesWindow::cancelReceipt},
        {m_ui->transactionButton, &SalesWindow::queryTransaction},
    };
    for (const auto& [button, handler] : buttons)
        platform::connectOneAtATime(button, &QPushButton::clicked, this, handler);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::close);
    m_ui->receiptSum->installEventFilter(this);
    m_ui->transactionSum->installEventFilter(this);
}

void SalesWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is no new opening
    // After the window has appeared, so that the file dialog opens over it.
    QMetaObject::invokeMethod(this, &SalesWindow::resetAndLoadArticles, Qt::QueuedConnection);
}

bool SalesWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->articleTable->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            m_gridPressed = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_gridPressed = false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_ui->receiptSum)
            takeReceiptSum();
        else if (watched == m_ui->transactionSum)
            takeTransactionSum();
    }
    return QDialog::eventFilter(watched, event);
}

void SalesWindow::resetAndLoadArticles()
{
    m_ui->paymentTypeCombo->setCurrentIndex(0);
    m_ui->displayCombo->setCurrentIndex(kUpperRowChoice);
    m_ui->taxGroupCombo->setCurrentIndex(0);
    m_selectedCode = -1;
    m_grid->setHeaders({"", cp1251("Налог"), cp1251("PLU код"), cp1251("Товар. грп."),
                        cp1251("Цена"), cp1251("Имя товара")});

    platform::FileDialogOptions options;
    options.filter = cp1251("Файлы артикулов (*.art)|*.art|Все файлы (*.*)|*.*");
    options.defaultExtension = "ART";
    options.initialDirectory = platform::toFileName(QDir::currentPath());
    const std::optional<std::string> path = platform::dialogs().openFileName(options);
    if (path)
        loadArticleFile(*path);
}

bool SalesWindow::loadArticleFile(const std::string& path)
{
    const QString shownPath = platform::fromFileName(path);
    const auto read = fiscal::readArticleFile(path, kGridRows - 1);
    if (!read) {
        tell(toCp1251(QStringLiteral("Не удалось открыть файл артикулов: ") + shownPath));
        return false;
    }
    m_grid->fillRows(read->rows);
    QString status = shownPath;
    if (read->rowsLeftOver > 0)
        status += QStringLiteral(" — в таблице только первые %1 строк, не вошло строк: %2")
                      .arg(kGridRows - 1)
                      .arg(read->rowsLeftOver);
    m_ui->fileStatusBar->showMessage(status);
    return true;
}

const std::string& SalesWindow::cell(int column, int row) const
{
    return m_grid->cell(column, row);
}

void SalesWindow::selectArticle(int /*column*/, int row)
{
    fiscal::ArticleFields fields;
    for (int column = 1; column < ArticleGrid::kColumns; ++column)
        fields[static_cast<std::size_t>(column - 1)] = cell(column, row);
    m_ui->articleEdit->setText(
        fromCp1251(fiscal::articleText(fields, toCp1251(m_ui->passwordEdit->text()))));
    const std::string& codeCell = cell(2, row);
    if (const auto code = platform::integerValue(codeCell))
        m_selectedCode = *code;
    else
        tell(platform::conversionError(codeCell));
}

std::optional<double> SalesWindow::numberIn(const QLineEdit* edit) const
{
    const std::string text = toCp1251(edit->text());
    const auto value = platform::decimalValue(text);
    if (!value)
        tell(platform::conversionError(text));
    return value;
}

std::optional<int> SalesWindow::integerIn(const QLineEdit* edit) const
{
    const std::string text = toCp1251(edit->text());
    const auto value = platform::integerValue(text);
    if (!value)
        tell(platform::conversionError(text));
    return value;
}

bool SalesWindow::send(const link::Operation& operation, const char* failureMessage) const
{
    return fiscal::runReportedStep(operation, cp1251(failureMessage));
}

void SalesWindow::showMoney(QLabel* label, const std::string& field) const
{
    if (const auto money = fiscal::hundredthsAsMoney(field))
        label->setText(QString::fromStdString(*money));
    else
        tell(platform::conversionError(field));
}

void SalesWindow::openReceipt()
{
    const auto operatorNumber = integerIn(m_ui->operatorEdit);
    if (!operatorNumber)
        return;
    const std::string password = toCp1251(m_ui->passwordEdit->text());
    const auto number = static_cast<std::uint32_t>(*operatorNumber);
    if (m_ui->returnReceiptBox->isChecked())
        send(
            [&](auto&&... fixed) { return link::OpenReturnReceipt(fixed..., number, password, 1); },
            "Ошибка открытия чека возврата");
    else
        send(
            [&](auto&&... fixed) { return link::OpenFiscalReceipt(fixed..., number, password, 1); },
            "Ошибка открытия фискального чека");
}

void SalesWindow::printComment()
{
    const std::string text = toCp1251(m_ui->commentEdit->text());
    send([&](auto&&... fixed) { return link::PrintFiscalText(fixed..., text); },
         "Ошибка печати фискального текста");
}

void SalesWindow::showOnDisplay()
{
    const std::string text = toCp1251(m_ui->commentEdit->text());
    const link::Operation operations[] = {
        [](auto&&... fixed) { return link::ClearDisplay(fixed...); },
        [&](auto&&... fixed) { return link::DisplayUpperRow(fixed..., text); },
        [&](auto&&... fixed) { return link::DisplayLowerRow(fixed..., text); },
        [](auto&&... fixed) { return link::DisplayDateTime(fixed...); },
    };
    const int choice = m_ui->displayCombo->currentIndex();
    if (choice >= 0 && choice < static_cast<int>(std::size(operations)))
        send(operations[choice], "Ошибка вывода на дисплей!");
}

void SalesWindow::printBarcode()
{
    const std::string barcode = toCp1251(m_ui->barcodeEdit->text());
    send([&](auto&&... fixed) { return link::PrintBarcode(fixed..., 2, barcode); },
         "Ошибка печати штрихкода");
}

void SalesWindow::sellArticle()
{
    sell(true);
}

void SalesWindow::returnArticle()
{
    sell(false);
}

void SalesWindow::sell(bool sale)
{
    fiscal::SaleInput input;
    input.sale = sale;
    input.articleText = toCp1251(m_ui->articleEdit->text());
    input.articleCode = m_selectedCode;
    input.quantity = toCp1251(m_ui->quantityEdit->text());
    input.discount = m_ui->percentDiscount->isChecked()  ? fiscal::SaleDiscount::Percent
                     : m_ui->amountDiscount->isChecked() ? fiscal::SaleDiscount::Amount
                                                         : fiscal::SaleDiscount::None;
    input.discountValue = toCp1251(m_ui->saleDiscountEdit->text());
    fiscal::runSaleSequence(input);
}

void SalesWindow::querySubtotal()
{
    if (send([](auto&&... fixed) { return link::Subtotal(fixed..., 0, 0, 0, 0); },
             "Ошибка печати фискального текста"))
        showMoney(m_ui->receiptSum, answerField(0));
}

void SalesWindow::subtotalAmountDiscount()
{
    if (const auto amount = numberIn(m_ui->subtotalDiscountEdit))
        send([&](auto&&... fixed) { return link::Subtotal(fixed..., 1, 1, 0, *amount); },
             "Ошибка печати фискального текста");
}

void SalesWindow::subtotalPercentDiscount()
{
    if (const auto percentage = numberIn(m_ui->subtotalDiscountEdit))
        send([&](auto&&... fixed) { return link::Subtotal(fixed..., 1, 1, *percentage, 0); },
             "Ошибка печати фискального текста");
}

void SalesWindow::taxGroupDiscount()
{
    const auto value = numberIn(m_ui->groupValueEdit);
    if (!value)
        return;
    const bool percent = m_ui->groupPercent->isChecked();
    const std::string group = toCp1251(m_ui->taxGroupCombo->currentText());
    const char letter = group.empty() ? '\0' : group[0];
    send(
        [&](auto&&... fixed) {
            return link::TaxGroupDiscount(fixed..., letter, 1, 1, percent ? *value : 0,
                                          percent ? 0 : *value);
        },
        "Ошибка печати фискального текста");
}

void SalesWindow::goodsGroupDiscount()
{
    const auto group = integerIn(m_ui->goodsGroupEdit);
    const auto value = group ? numberIn(m_ui->groupValueEdit) : std::nullopt;
    if (!value)
        return;
    const bool percent = m_ui->groupPercent->isChecked();
    send(
        [&](auto&&... fixed) {
            return link::GoodsGroupDiscount(fixed..., *group, 1, 1, percent ? *value : 0,
                                            percent ? 0 : *value);
        },
        "Ошибка печати фискального текста");
}

void SalesWindow::pay()
{
    const auto amount = numberIn(m_ui->paymentEdit);
    if (!amount)
        return;
    const int choice = m_ui->paymentTypeCombo->currentIndex();
    const char letter = choice >= 0 && choice < 8 ? kPaymentLetters[choice] : '\0';
    if (!send([&](auto&&... fixed) { return link::Total(fixed..., "", letter, *amount); },
              "Ошибка закрытия чека"))
        return;
    m_ui->paymentFirstField->setText(fromCp1251(answerField(0)));
    m_ui->paymentSecondField->setText(fromCp1251(answerField(1)));
}

void SalesWindow::closeReceipt()
{
    send([](auto&&... fixed) { return link::CloseFiscalReceipt(fixed...); },
         "Ошибка закрытия чека");
}

void SalesWindow::cancelReceipt()
{
    send([](auto&&... fixed) { return link::CancelReceipt(fixed...); },
         "Ошибка аннулирования чека");
}

void SalesWindow::queryTransaction()
{
    if (send([](auto&&... fixed) { return link::GetFiscalTransactionStatus(fixed..., 0); },
             "Ошибка печати фискального текста"))
        showMoney(m_ui->transactionSum, answerField(2));
}

void SalesWindow::takeReceiptSum()
{
    m_ui->paymentEdit->setText(m_ui->receiptSum->text());
}

void SalesWindow::takeTransactionSum()
{
    m_ui->paymentEdit->setText(m_ui->transactionSum->text());
}

} // namespace quorvex::ui
