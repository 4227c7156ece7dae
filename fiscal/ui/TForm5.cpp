#include "fiscal/ui/TForm5.h"

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
#include "ui_TForm5.h"

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

TForm5::TForm5(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm5>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    setUpGrid();
    connectHandlers();
}

TForm5::~TForm5() = default;

void TForm5::setUpGrid()
{
    m_grid = new ArticleGrid(kGridRows, this);
    QTableView* view = m_ui->StringGrid1;
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
                    StringGrid1SelectCell(cell.column(), cell.row() + 1);
                }
            });
    connect(view, &QAbstractItemView::pressed, this, [this](const QModelIndex& cell) {
        m_gridPressed = false;
        StringGrid1SelectCell(cell.column(), cell.row() + 1);
    });
    view->viewport()->installEventFilter(this);
}

void TForm5::connectHandlers()
{
    const std::pair<QPushButton*, void (TForm5::*)()> buttons[] = {
        {m_ui->Button1, &TForm5::Button1Click},   {m_ui->Button2, &TForm5::Button2Click},
        {m_ui->Button3, &TForm5::Button3Click},   {m_ui->Button4, &TForm5::Button4Click},
        {m_ui->Button5, &TForm5::Button5Click},   {m_ui->Button6, &TForm5::Button6Click},
        {m_ui->Button7, &TForm5::Button7Click},   {m_ui->Button8, &TForm5::Button8Click},
        {m_ui->Button9, &TForm5::Button9Click},   {m_ui->Button10, &TForm5::Button10Click},
        {m_ui->Button11, &TForm5::Button11Click}, {m_ui->Button12, &TForm5::Button12Click},
        {m_ui->Button13, &TForm5::Button13Click}, {m_ui->Button14, &TForm5::Button14Click},
        {m_ui->Button15, &TForm5::Button15Click},
    };
    for (const auto& [button, handler] : buttons)
        platform::connectOneAtATime(button, &QPushButton::clicked, this, handler);
    connect(m_ui->Button16, &QPushButton::clicked, this, &QDialog::close);
    m_ui->Label5->installEventFilter(this);
    m_ui->Label13->installEventFilter(this);
}

void TForm5::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is no new opening
    // After the window has appeared, so that the file dialog opens over it.
    QMetaObject::invokeMethod(this, &TForm5::FormActivate, Qt::QueuedConnection);
}

bool TForm5::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->StringGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            m_gridPressed = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_gridPressed = false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_ui->Label5)
            Label5Click();
        else if (watched == m_ui->Label13)
            Label13Click();
    }
    return QDialog::eventFilter(watched, event);
}

void TForm5::FormActivate()
{
    m_ui->ComboBox1->setCurrentIndex(0);
    m_ui->ComboBox2->setCurrentIndex(kUpperRowChoice);
    m_ui->ComboBox4->setCurrentIndex(0);
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

bool TForm5::loadArticleFile(const std::string& path)
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
    m_ui->StatusBar1->showMessage(status);
    return true;
}

const std::string& TForm5::cell(int column, int row) const
{
    return m_grid->cell(column, row);
}

void TForm5::StringGrid1SelectCell(int /*column*/, int row)
{
    fiscal::ArticleFields fields;
    for (int column = 1; column < ArticleGrid::kColumns; ++column)
        fields[static_cast<std::size_t>(column - 1)] = cell(column, row);
    m_ui->Edit3->setText(fromCp1251(fiscal::articleText(fields, toCp1251(m_ui->Edit1->text()))));
    const std::string& codeCell = cell(2, row);
    if (const auto code = platform::integerValue(codeCell))
        m_selectedCode = *code;
    else
        tell(platform::conversionError(codeCell));
}

std::optional<double> TForm5::numberIn(const QLineEdit* edit) const
{
    const std::string text = toCp1251(edit->text());
    const auto value = platform::decimalValue(text);
    if (!value)
        tell(platform::conversionError(text));
    return value;
}

std::optional<int> TForm5::integerIn(const QLineEdit* edit) const
{
    const std::string text = toCp1251(edit->text());
    const auto value = platform::integerValue(text);
    if (!value)
        tell(platform::conversionError(text));
    return value;
}

bool TForm5::send(const link::Operation& operation, const char* failureMessage) const
{
    return fiscal::runReportedStep(operation, cp1251(failureMessage));
}

void TForm5::showMoney(QLabel* label, const std::string& field) const
{
    if (const auto money = fiscal::hundredthsAsMoney(field))
        label->setText(QString::fromStdString(*money));
    else
        tell(platform::conversionError(field));
}

void TForm5::Button1Click()
{
    const auto operatorNumber = integerIn(m_ui->Edit12);
    if (!operatorNumber)
        return;
    const std::string password = toCp1251(m_ui->Edit1->text());
    const auto number = static_cast<std::uint32_t>(*operatorNumber);
    if (m_ui->CheckBox1->isChecked())
        send(
            [&](auto&&... fixed) { return link::OpenReturnReceipt(fixed..., number, password, 1); },
            "Ошибка открытия чека возврата");
    else
        send(
            [&](auto&&... fixed) { return link::OpenFiscalReceipt(fixed..., number, password, 1); },
            "Ошибка открытия фискального чека");
}

void TForm5::Button2Click()
{
    const std::string text = toCp1251(m_ui->Edit2->text());
    send([&](auto&&... fixed) { return link::PrintFiscalText(fixed..., text); },
         "Ошибка печати фискального текста");
}

void TForm5::Button3Click()
{
    const std::string text = toCp1251(m_ui->Edit2->text());
    const link::Operation operations[] = {
        [](auto&&... fixed) { return link::ClearDisplay(fixed...); },
        [&](auto&&... fixed) { return link::DisplayUpperRow(fixed..., text); },
        [&](auto&&... fixed) { return link::DisplayLowerRow(fixed..., text); },
        [](auto&&... fixed) { return link::DisplayDateTime(fixed...); },
    };
    const int choice = m_ui->ComboBox2->currentIndex();
    if (choice >= 0 && choice < static_cast<int>(std::size(operations)))
        send(operations[choice], "Ошибка вывода на дисплей!");
}

void TForm5::Button4Click()
{
    const std::string barcode = toCp1251(m_ui->Edit11->text());
    send([&](auto&&... fixed) { return link::PrintBarcode(fixed..., 2, barcode); },
         "Ошибка печати штрихкода");
}

void TForm5::Button5Click()
{
    sell(true);
}

void TForm5::Button6Click()
{
    sell(false);
}

void TForm5::sell(bool sale)
{
    fiscal::SaleInput input;
    input.sale = sale;
    input.articleText = toCp1251(m_ui->Edit3->text());
    input.articleCode = m_selectedCode;
    input.quantity = toCp1251(m_ui->Edit10->text());
    input.discount = m_ui->RadioButton2->isChecked()   ? fiscal::SaleDiscount::Percent
                     : m_ui->RadioButton3->isChecked() ? fiscal::SaleDiscount::Amount
                                                       : fiscal::SaleDiscount::None;
    input.discountValue = toCp1251(m_ui->Edit4->text());
    fiscal::runSaleSequence(input);
}

void TForm5::Button7Click()
{
    if (send([](auto&&... fixed) { return link::Subtotal(fixed..., 0, 0, 0, 0); },
             "Ошибка печати фискального текста"))
        showMoney(m_ui->Label5, answerField(0));
}

void TForm5::Button8Click()
{
    if (const auto amount = numberIn(m_ui->Edit5))
        send([&](auto&&... fixed) { return link::Subtotal(fixed..., 1, 1, 0, *amount); },
             "Ошибка печати фискального текста");
}

void TForm5::Button9Click()
{
    if (const auto percentage = numberIn(m_ui->Edit5))
        send([&](auto&&... fixed) { return link::Subtotal(fixed..., 1, 1, *percentage, 0); },
             "Ошибка печати фискального текста");
}

void TForm5::Button10Click()
{
    const auto value = numberIn(m_ui->Edit6);
    if (!value)
        return;
    const bool percent = m_ui->RadioButton4->isChecked();
    const std::string group = toCp1251(m_ui->ComboBox4->currentText());
    const char letter = group.empty() ? '\0' : group[0];
    send(
        [&](auto&&... fixed) {
            return link::TaxGroupDiscount(fixed..., letter, 1, 1, percent ? *value : 0,
                                          percent ? 0 : *value);
        },
        "Ошибка печати фискального текста");
}

void TForm5::Button11Click()
{
    const auto group = integerIn(m_ui->Edit7);
    const auto value = group ? numberIn(m_ui->Edit6) : std::nullopt;
    if (!value)
        return;
    const bool percent = m_ui->RadioButton4->isChecked();
    send(
        [&](auto&&... fixed) {
            return link::GoodsGroupDiscount(fixed..., *group, 1, 1, percent ? *value : 0,
                                            percent ? 0 : *value);
        },
        "Ошибка печати фискального текста");
}

void TForm5::Button12Click()
{
    const auto amount = numberIn(m_ui->Edit8);
    if (!amount)
        return;
    const int choice = m_ui->ComboBox1->currentIndex();
    const char letter = choice >= 0 && choice < 8 ? kPaymentLetters[choice] : '\0';
    if (!send([&](auto&&... fixed) { return link::Total(fixed..., "", letter, *amount); },
              "Ошибка закрытия чека"))
        return;
    m_ui->Label9->setText(fromCp1251(answerField(0)));
    m_ui->Label12->setText(fromCp1251(answerField(1)));
}

void TForm5::Button13Click()
{
    send([](auto&&... fixed) { return link::CloseFiscalReceipt(fixed...); },
         "Ошибка закрытия чека");
}

void TForm5::Button14Click()
{
    send([](auto&&... fixed) { return link::CancelReceipt(fixed...); },
         "Ошибка аннулирования чека");
}

void TForm5::Button15Click()
{
    if (send([](auto&&... fixed) { return link::GetFiscalTransactionStatus(fixed..., 0); },
             "Ошибка печати фискального текста"))
        showMoney(m_ui->Label13, answerField(2));
}

void TForm5::Label5Click()
{
    m_ui->Edit8->setText(m_ui->Label5->text());
}

void TForm5::Label13Click()
{
    m_ui->Edit8->setText(m_ui->Label13->text());
}

} // namespace quorvex::ui
