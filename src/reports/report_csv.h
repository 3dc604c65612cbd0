#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QIODevice;
class ReportRowSource;
class ReportRows;

// One column of a report saved as a spreadsheet file: its heading, the data
// field it takes, and how its values are written.
struct CsvColumn
{
    enum class Kind {
        Text,   // as stored, whole
        Amount, // plain decimal with two decimals: 1250.00, -12.50
        Date,   // YYYY-MM-DD
        Number  // plain decimal without trailing zeros: 1, 0.5
    };

    QString heading;
    QString dataField;
    Kind kind = Kind::Text;
};

// A report's lines as comma-separated values a spreadsheet opens: UTF-8 with
// a byte-order mark (so accented names open right), one heading row, one row
// per report line, lines ended by CR LF, and a value quoted, its quotes
// doubled, whenever it holds a comma, a quote or a line break. Text that
// begins with =, +, -, @, a tab or a carriage return is written after a
// leading ' so that a spreadsheet does not run it as a formula; amounts,
// numbers and dates stay plain.
namespace ReportCsv {

// `text` quoted, its quotes doubled, when it holds a comma, a quote or a
// line break; otherwise as it is.
QString quoted(const QString &text);
// The value as the file holds it, quoted where needed.
QString cell(const QVariant &value, CsvColumn::Kind kind);
// Every remaining row of `rows`, read one at a time.
void write(QIODevice &device, const QList<CsvColumn> &columns, ReportRowSource &rows);
// Writes the file at `path` all or nothing; false, with the reason in
// `error`, when it could not be written.
bool save(const QString &path, const QList<CsvColumn> &columns, ReportRowSource &rows,
          QString *error);
bool save(const QString &path, const QList<CsvColumn> &columns, const ReportRows &rows,
          QString *error);

} // namespace ReportCsv
