#include "reports/report_csv.h"

#include "common/durable_file.h"
#include "common/money_format.h"
#include "reports/report_rows.h"
#include "reports/report_value.h"

#include <QBuffer>
#include <QDate>
#include <QStringList>

namespace ReportCsv {

QString quoted(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

namespace {

// A spreadsheet takes a cell beginning with one of these for a formula (or
// strips it); text that begins so is written after a ' so that it opens as
// the text it is.
QString defused(const QString &text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && kFormulaStarts.contains(text.front()))
        return u'\'' + text;
    return text;
}

QString text(const QVariant &value, CsvColumn::Kind kind)
{
    if (value.isNull())
        return {};
    switch (kind) {
    case CsvColumn::Kind::Amount:
        if (const std::optional<Money> amount = ReportValue::amount(value))
            return MoneyFormat::cents(*amount);
        break;
    case CsvColumn::Kind::Number:
        if (const std::optional<Money> amount = ReportValue::amount(value))
            return MoneyFormat::plain(*amount);
        break;
    case CsvColumn::Kind::Date: {
        const QString printed = ReportValue::format(value, QStringLiteral("mm/dd/yyyy"));
        const QDate date = QDate::fromString(printed, QStringLiteral("MM/dd/yyyy"));
        if (date.isValid())
            return date.toString(Qt::ISODate);
        break;
    }
    case CsvColumn::Kind::Text:
        break;
    }
    // Text, and a value that is not what its column expects, is kept as it is.
    return defused(ReportValue::format(value, QString()));
}

QByteArray line(const QStringList &cells)
{
    return (cells.join(u',') + QStringLiteral("\r\n")).toUtf8();
}

} // namespace

QString cell(const QVariant &value, CsvColumn::Kind kind)
{
    return quoted(text(value, kind));
}

void write(QIODevice &device, const QList<CsvColumn> &columns, ReportRowSource &rows)
{
    device.write("\xEF\xBB\xBF");
    QStringList cells;
    for (const CsvColumn &column : columns)
        cells << quoted(column.heading);
    device.write(line(cells));
    while (rows.next()) {
        cells.clear();
        for (const CsvColumn &column : columns)
            cells << cell(rows.value(column.dataField), column.kind);
        device.write(line(cells));
    }
}

bool save(const QString &path, const QList<CsvColumn> &columns, const ReportRows &rows,
          QString *error)
{
    ReportRows::Reader reader(rows);
    return save(path, columns, reader, error);
}

bool save(const QString &path, const QList<CsvColumn> &columns, ReportRowSource &rows,
          QString *error)
{
    // Laid out in memory, then put in place all or nothing like every file
    // the program writes.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer, columns, rows);
    return DurableFile::replace(path, bytes, error);
}

} // namespace ReportCsv
