#include "link/ui/ExchangeTableModel.h"

#include "platform/qt/TextCodec.h"

#include <QBrush>
#include <QColor>
#include <QDateTime>

#include <array>

namespace quorvex::ui {

namespace {

constexpr int kTimeColumn = 0;
constexpr int kColumns = ExchangeTableModel::kColumns;

QString shown(const std::string& bytes)
{
    return platform::fromCp1251Visible(bytes);
}

QString timeText(const MonitorRow& row)
{
    return QDateTime::fromMSecsSinceEpoch(row.wallMs).toString(QStringLiteral("hh:mm:ss.zzz"));
}

// In a file the day counts too; the form is the one every spreadsheet reads whatever its locale.
QString dateAndTimeText(const MonitorRow& row)
{
    return QDateTime::fromMSecsSinceEpoch(row.wallMs)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

// One CSV field: quoted, inner quotes doubled.
QString csvField(QString text)
{
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString csvLine(const QStringList& fields, QChar separator)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(separator) + QStringLiteral("\r\n");
}

// The decoded columns after the time, in the table's order.
std::array<const std::string*, kColumns - 1> decodedTexts(const link::DecodedExchange& d)
{
    return {&d.registrar,    &d.code,   &d.name,   &d.requestData,
            &d.answerFields, &d.status, &d.errors, &d.roundTripMs};
}

} // namespace

bool MonitorFilter::passes(const MonitorRow& row) const
{
    return (!registrar || row.summary.registrar == *registrar) &&
           (!command || row.summary.command == *command) &&
           (!errorsOnly || link::exchangeFailed(row.summary));
}

ExchangeTableModel::ExchangeTableModel(QObject* parent, int limit)
    : QAbstractTableModel(parent), m_limit(limit)
{
}

MonitorRow ExchangeTableModel::rowFor(const link::ExchangeRecord& record)
{
    MonitorRow row;
    row.summary = link::summarizeExchange(record);
    row.wallMs = record.wallMs;
    row.requestFrame = record.result.RequestFrame;
    row.rawAnswer = record.result.RawAnswer;
    return row;
}

void ExchangeTableModel::append(std::vector<MonitorRow> rows)
{
    if (rows.empty())
        return;
    forgetCellTexts(); // a dropped row's place may be taken by a new one
    // Rows beyond the limit in the batch itself never enter.
    std::size_t skip = 0;
    if (rows.size() > static_cast<std::size_t>(m_limit)) {
        skip = rows.size() - static_cast<std::size_t>(m_limit);
        m_dropped += static_cast<long long>(skip);
    }
    const std::size_t room = static_cast<std::size_t>(m_limit) - m_rows.size();
    const std::size_t incoming = rows.size() - skip;
    if (incoming > room) {
        // Drop the oldest; the shown list loses those of them it holds, all at its front.
        const std::size_t drop = incoming - room;
        int shownDropped = 0;
        for (std::size_t i = 0; i < drop; ++i) {
            const auto next = static_cast<std::size_t>(shownDropped);
            if (next < m_shown.size() && m_shown[next] == &m_rows[i])
                ++shownDropped;
        }
        if (shownDropped > 0) {
            beginRemoveRows({}, 0, shownDropped - 1);
            m_shown.erase(m_shown.begin(), m_shown.begin() + shownDropped);
        }
        for (std::size_t i = 0; i < drop; ++i)
            m_rows.pop_front();
        if (shownDropped > 0)
            endRemoveRows();
        m_dropped += static_cast<long long>(drop);
    }
    std::vector<const MonitorRow*> passing;
    for (std::size_t i = skip; i < rows.size(); ++i) {
        m_rows.push_back(std::move(rows[i]));
        if (m_filter.passes(m_rows.back()))
            passing.push_back(&m_rows.back());
    }
    if (passing.empty())
        return;
    const int first = static_cast<int>(m_shown.size());
    beginInsertRows({}, first, first + static_cast<int>(passing.size()) - 1);
    m_shown.insert(m_shown.end(), passing.begin(), passing.end());
    endInsertRows();
}

void ExchangeTableModel::clear()
{
    forgetCellTexts();
    beginResetModel();
    m_rows.clear();
    m_shown.clear();
    m_dropped = 0;
    endResetModel();
}

void ExchangeTableModel::setFilter(const MonitorFilter& filter)
{
    beginResetModel();
    m_filter = filter;
    rebuildShown();
    endResetModel();
}

void ExchangeTableModel::rebuildShown()
{
    m_shown.clear();
    for (const MonitorRow& row : m_rows) {
        if (m_filter.passes(row))
            m_shown.push_back(&row);
    }
}

const MonitorRow& ExchangeTableModel::shownRow(int index) const
{
    return *m_shown.at(static_cast<std::size_t>(index));
}

QString ExchangeTableModel::rowText(int index) const
{
    const std::array<QString, kColumns>& cells = cellTexts(shownRow(index));
    return QStringList(cells.begin(), cells.end()).join(QLatin1Char('\t'));
}

const std::array<QString, kColumns>& ExchangeTableModel::cellTexts(const MonitorRow& row) const
{
    if (m_textsOf == &row)
        return m_texts;
    const link::DecodedExchange d = link::decodeExchange(row.summary);
    m_texts[kTimeColumn] = timeText(row);
    std::size_t column = kTimeColumn + 1;
    for (const std::string* text : decodedTexts(d))
        m_texts[column++] = shown(*text);
    m_textsOf = &row;
    return m_texts;
}

QByteArray ExchangeTableModel::csv(QChar separator) const
{
    QString text = QChar(0xFEFF) + csvLine(headers(), separator);
    for (int index = 0; index < rowCount(); ++index) {
        const MonitorRow& row = shownRow(index);
        const std::array<QString, kColumns>& cells = cellTexts(row);
        QStringList fields(cells.begin(), cells.end());
        fields[kTimeColumn] = dateAndTimeText(row);
        text += csvLine(fields, separator);
    }
    return text.toUtf8();
}

QChar ExchangeTableModel::listSeparator(const QLocale& locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? QLatin1Char(';') : QLatin1Char(',');
}

QStringList ExchangeTableModel::headers()
{
    return {
        QStringLiteral("Время"),   QStringLiteral("Рег."),           QStringLiteral("Код"),
        QStringLiteral("Команда"), QStringLiteral("Данные запроса"), QStringLiteral("Поля ответа"),
        QStringLiteral("Статус"),  QStringLiteral("Ошибки"),         QStringLiteral("мс")};
}

int ExchangeTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int ExchangeTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ExchangeTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MonitorRow& row = shownRow(index.row());
    if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) && index.column() < kColumns)
        return cellTexts(row)[static_cast<std::size_t>(index.column())];
    if (role == Qt::ForegroundRole && link::exchangeFailed(row.summary))
        return QBrush(QColor(Qt::darkRed));
    return {};
}

QVariant ExchangeTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return headers().value(section);
    return {};
}

} // namespace quorvex::ui
