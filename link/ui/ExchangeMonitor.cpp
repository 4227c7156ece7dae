#include "link/ui/ExchangeMonitor.h"

#include "link/Frame.h"
#include "link/Link.h"
#include "link/ResultState.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/TextCodec.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <set>
#include <utility>

namespace quorvex::ui {

namespace {

// Ten refreshes a second keep up with the eye; each one repaints the table, which a fast run
// would otherwise pay for at every screen frame.
constexpr int kRefreshMs = 100;
// Columns: time, registrar, code, command, request data, answer fields, status, errors, ms.
constexpr int kErrorsColumn = 7;
constexpr int kMillisecondsColumn = 8;
// Widths of the columns whose texts vary, in average characters; the others fit their samples.
const std::pair<int, int> kTextColumns[] = {{3, 32}, {4, 18}, {5, 24}};
const char* const kColumnSamples[] = {"00:00:00.000",     "2", "4A", nullptr, nullptr, nullptr,
                                      "00 00 00 00 00 00"};

// Frame bytes in hex, then as text with control pictures.
QString frameLines(const std::string& bytes)
{
    return QString::fromStdString(link::hexBytes(bytes)) + QLatin1Char('\n') +
           platform::fromCp1251Visible(bytes);
}

// Every status bit set, as S<byte>:<mask>, with the error text of the bit where it has one.
QString statusBitsSet(const std::array<std::uint8_t, 6>& status)
{
    QStringList bits;
    for (int byte = 0; byte < 6; ++byte) {
        for (int bit = 0; bit < 7; ++bit) {
            const auto mask = static_cast<std::uint8_t>(1u << bit);
            if ((status[static_cast<std::size_t>(byte)] & mask) == 0)
                continue;
            link::StatusBytes only{};
            only[static_cast<std::size_t>(byte)] = mask;
            const std::string text = link::errorTextsFor(link::errorWordFromStatus(only));
            QString entry = QStringLiteral("S%1:%2").arg(byte).arg(
                QString::number(mask, 16).toUpper().rightJustified(2, QLatin1Char('0')));
            if (!text.empty())
                entry += QStringLiteral(" (") + platform::fromCp1251(text) + QLatin1Char(')');
            bits << entry;
        }
    }
    return bits.isEmpty() ? QStringLiteral("—") : bits.join(QStringLiteral(", "));
}

// The table's cells drawn as plain single lines, clipped at the column's edge: the style's item
// drawing lays every cell's text out anew, which made each refresh of a fast run cost several
// milliseconds. The full text of a cell is its tool tip.
class PlainCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        QColor ink = option.palette.color(QPalette::Text);
        if (selected) {
            painter->fillRect(option.rect, option.palette.highlight());
            ink = option.palette.color(QPalette::HighlightedText);
        } else if (const QVariant brush = index.data(Qt::ForegroundRole); brush.isValid()) {
            ink = brush.value<QBrush>().color();
        }
        const QRect text = option.rect.adjusted(kCellMargin, 0, -kCellMargin, 0);
        const QFontMetrics& metrics = option.fontMetrics;
        painter->save();
        painter->setClipRect(text);
        painter->setPen(ink);
        painter->drawText(text.left(),
                          text.top() + (text.height() - metrics.height()) / 2 + metrics.ascent(),
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

private:
    static constexpr int kCellMargin = 3;
};

} // namespace

ExchangeMonitor::ExchangeMonitor(QWidget* parent, link::Link* link)
    : QWidget(parent, Qt::Window), m_link(link != nullptr ? *link : link::processLink())
{
    setObjectName(QStringLiteral("ExchangeMonitor"));
    setWindowTitle(QStringLiteral("Монитор обмена"));
    buildControls();
    m_frame.setInterval(kRefreshMs);
    connect(&m_frame, &QTimer::timeout, this, &ExchangeMonitor::showPending);
    resize(std::max(1000, m_table->minimumWidth() + 24), 640);
}

ExchangeMonitor::~ExchangeMonitor()
{
    if (m_observing)
        m_link.removeObserver(*this);
}

void ExchangeMonitor::buildControls()
{
    m_pause = new QCheckBox(QStringLiteral("Пауза"), this);
    auto* clear = new QPushButton(QStringLiteral("Очистить"), this);
    m_registrar = new QComboBox(this);
    m_registrar->addItems({QStringLiteral("Все"), QStringLiteral("1"), QStringLiteral("2")});
    m_code = new QLineEdit(this);
    m_code->setMaxLength(2);
    m_code->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,2}")), m_code));
    m_code->setToolTip(QStringLiteral("Код команды, две шестнадцатеричные цифры; пусто - все"));
    m_code->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("WWW")) + 12);
    m_errorsOnly = new QCheckBox(QStringLiteral("Только ошибки"), this);
    auto* copy = new QPushButton(QStringLiteral("Копировать"), this);
    auto* save = new QPushButton(QStringLiteral("Сохранить…"), this);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    m_dropped = new QLabel(this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_pause);
    controls->addWidget(clear);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("Регистратор:"), this));
    controls->addWidget(m_registrar);
    controls->addWidget(new QLabel(QStringLiteral("Код:"), this));
    controls->addWidget(m_code);
    controls->addWidget(m_errorsOnly);
    controls->addSpacing(12);
    controls->addWidget(copy);
    controls->addWidget(save);
    controls->addStretch(1);
    controls->addWidget(m_dropped);
    controls->addSpacing(12);
    controls->addWidget(close);

    m_table = new QTableView(this);
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_table->setWordWrap(false);
    m_table->setItemDelegate(new PlainCellDelegate(m_table));
    setColumnWidths();
    m_details = new QPlainTextEdit(this);
    m_details->setReadOnly(true);
    m_details->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::Monospace);
    m_details->setFont(fixed);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_table);
    splitter->addWidget(m_details);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(splitter, 1);
    updateDroppedLabel();

    connect(clear, &QPushButton::clicked, this, [this] {
        m_pending.clear();
        m_model.clear();
        m_details->clear();
        updateDroppedLabel();
    });
    connect(m_registrar, &QComboBox::currentIndexChanged, this, &ExchangeMonitor::applyFilter);
    connect(m_code, &QLineEdit::textChanged, this, &ExchangeMonitor::applyFilter);
    connect(m_errorsOnly, &QCheckBox::toggled, this, &ExchangeMonitor::applyFilter);
    connect(copy, &QPushButton::clicked, this, &ExchangeMonitor::copySelectedRows);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(save, &QPushButton::clicked, this, &ExchangeMonitor::saveRows);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ExchangeMonitor::showDetails);
}

// The errors column is the widest, wide enough for a refusal's message; "мс" is no wider than
// its numbers; the small columns fit their header or their widest value.
void ExchangeMonitor::setColumnWidths()
{
    const QFontMetrics metrics = m_table->fontMetrics();
    QHeaderView* header = m_table->horizontalHeader();
    header->setStretchLastSection(false);
    const int margin = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const auto fit = [&](int column, const QString& sample) {
        m_table->setColumnWidth(column, std::max(header->sectionSizeHint(column),
                                                 metrics.horizontalAdvance(sample) + margin));
    };
    for (int column = 0; column < static_cast<int>(std::size(kColumnSamples)); ++column) {
        if (kColumnSamples[column] != nullptr)
            fit(column, QString::fromLatin1(kColumnSamples[column]));
    }
    for (const auto& [column, characters] : kTextColumns)
        m_table->setColumnWidth(column, characters * metrics.averageCharWidth() + margin);
    fit(kErrorsColumn, QStringLiteral("Команда не отправлена: порт регистратора закрыт."));
    fit(kMillisecondsColumn, QStringLiteral("00000.000"));
    int width = 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < ExchangeTableModel::kColumns; ++column)
        width += m_table->columnWidth(column);
    m_table->setMinimumWidth(std::min(width, 1200));
}

void ExchangeMonitor::exchangeFinished(const link::ExchangeRecord& record)
{
    if (m_pause->isChecked())
        return;
    m_pending.push_back(ExchangeTableModel::rowFor(record));
}

void ExchangeMonitor::open()
{
    show();
    raise();
    activateWindow();
}

void ExchangeMonitor::showPending()
{
    if (m_pending.empty())
        return;
    QScrollBar* scroll = m_table->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    m_model.append(std::move(m_pending));
    m_pending.clear();
    updateDroppedLabel();
    if (atEnd)
        m_table->scrollToBottom();
}

void ExchangeMonitor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_observing) {
        m_link.addObserver(*this);
        m_observing = true;
    }
    m_frame.start();
}

void ExchangeMonitor::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return; // minimised: it goes on watching
    m_frame.stop();
    showPending();
    if (m_observing) {
        m_link.removeObserver(*this);
        m_observing = false;
    }
}

void ExchangeMonitor::applyFilter()
{
    MonitorFilter filter;
    if (m_registrar->currentIndex() > 0)
        filter.registrar = m_registrar->currentIndex();
    bool ok = false;
    const int code = m_code->text().toInt(&ok, 16);
    if (ok && m_code->text().size() == 2)
        filter.command = code;
    filter.errorsOnly = m_errorsOnly->isChecked();
    m_model.setFilter(filter);
    m_details->clear();
}

void ExchangeMonitor::copySelectedRows()
{
    std::set<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    QStringList lines;
    for (int row : rows)
        lines << m_model.rowText(row);
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void ExchangeMonitor::saveRows()
{
    const platform::DialogOwner owner(this); // asked over the monitor, not the modal window
    platform::FileDialogOptions options;
    options.title = platform::toCp1251(QStringLiteral("Сохранить обмен"));
    options.filter = platform::toCp1251(QStringLiteral("Файлы CSV (*.csv)|*.csv|Все|*.*"));
    options.defaultExtension = "csv";
    const std::optional<std::string> path = platform::dialogs().saveFileName(options);
    if (!path)
        return;
    QString failure;
    if (!saveCsv(*path, &failure))
        platform::dialogs().showMessage(
            platform::toCp1251(QStringLiteral("Невозможно записать файл ") +
                               platform::fromFileName(*path) + QStringLiteral(": ") + failure));
}

// The file is replaced whole or not at all: QSaveFile writes a temporary file beside it and
// renames it over the old one only when everything was written.
bool ExchangeMonitor::saveCsv(const std::string& path, QString* failure) const
{
    QSaveFile file(platform::fromFileName(path));
    const auto failed = [&] {
        if (failure)
            *failure = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    const QByteArray bytes = m_model.csv(ExchangeTableModel::listSeparator(QLocale()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return failed();
    return true;
}

void ExchangeMonitor::showDetails()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid() || current.row() >= m_model.rowCount()) {
        m_details->clear();
        return;
    }
    const MonitorRow& row = m_model.shownRow(current.row());
    QString text = QStringLiteral("Запрос:\n") + frameLines(row.requestFrame) +
                   QStringLiteral("\n\nОтвет:\n") + frameLines(row.rawAnswer) +
                   QStringLiteral("\n\nБиты состояния: ") +
                   (link::exchangeAnswered(row.summary) ? statusBitsSet(row.summary.status)
                                                        : QStringLiteral("—"));
    m_details->setPlainText(text);
}

void ExchangeMonitor::updateDroppedLabel()
{
    m_dropped->setText(QStringLiteral("Записей: %1, отброшено старых: %2")
                           .arg(m_model.rowCount())
                           .arg(m_model.dropped()));
}

} // namespace quorvex::ui
