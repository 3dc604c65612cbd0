#include "reports/payroll_layouts.h"

#include "common/money_format.h"
#include "reports/report_csv.h"

#include <QStringList>

namespace PayrollLayouts {

namespace {

using Value = Column::Value;

QString valueOf(const Column &column, const PayrollExport::Row &row,
                const PayrollExport::Period &period, const QString &companyCode)
{
    switch (column.value) {
    case Value::Empty:
        return {};
    case Value::CompanyCode:
        return companyCode;
    case Value::PayrollId:
        return row.payrollId;
    case Value::Name:
        return row.salesPerson;
    case Value::Code:
        return row.code;
    case Value::Amount:
        return MoneyFormat::cents(row.amount);
    case Value::PeriodStart:
        return period.from.toString(QString::fromLatin1(column.dateForm));
    case Value::PeriodEnd:
        return period.to.toString(QString::fromLatin1(column.dateForm));
    case Value::Sheets: {
        QStringList numbers;
        for (const qint64 sheet : row.sheets)
            numbers << QString::number(sheet);
        return numbers.join(u' ');
    }
    }
    return {};
}

QByteArray line(const QStringList &cells)
{
    QStringList quoted;
    for (const QString &cell : cells)
        quoted << ReportCsv::quoted(cell);
    return quoted.join(u',').toUtf8() + "\r\n";
}

} // namespace

const QList<Layout> &all()
{
    static const QList<Layout> layouts = {
        {QStringLiteral("Plain"),
         {{"Payroll ID", Value::PayrollId},
          {"Name", Value::Name},
          {"Earnings Code", Value::Code},
          {"Amount", Value::Amount},
          {"Period Start", Value::PeriodStart, "yyyy-MM-dd"},
          {"Period End", Value::PeriodEnd, "yyyy-MM-dd"},
          {"Sheets", Value::Sheets}}},
        // The service's import of pay data: the pay component is the
        // earnings code, the line date the period's last day.
        {QStringLiteral("Paychex Flex (SPI)"),
         {{"Client ID", Value::CompanyCode},
          {"Worker ID", Value::PayrollId},
          {"Org", Value::Empty},
          {"Job Number", Value::Empty},
          {"Pay Component", Value::Code},
          {"Rate", Value::Empty},
          {"Rate Number", Value::Empty},
          {"Hours", Value::Empty},
          {"Units", Value::Empty},
          {"Line Date", Value::PeriodEnd, "MM/dd/yyyy"},
          {"Amount", Value::Amount},
          {"Check Seq Number", Value::Empty}}},
        // The service's paydata file: the batch is named by the period's
        // last day, the amount goes in the third earnings column.
        {QStringLiteral("ADP Workforce Now (paydata)"),
         {{"Co Code", Value::CompanyCode},
          {"Batch ID", Value::PeriodEnd, "MMddyy"},
          {"File #", Value::PayrollId},
          {"Reg Hours", Value::Empty},
          {"O/T Hours", Value::Empty},
          {"Earnings 3 Code", Value::Code},
          {"Earnings 3 Amount", Value::Amount}}},
    };
    return layouts;
}

QByteArray text(const Layout &layout, const QList<PayrollExport::Row> &rows,
                const PayrollExport::Period &period, const QString &companyCode)
{
    QStringList titles;
    for (const Column &column : layout.columns)
        titles << QString::fromLatin1(column.title);
    QByteArray bytes = line(titles);
    for (const PayrollExport::Row &row : rows) {
        QStringList cells;
        for (const Column &column : layout.columns)
            cells << valueOf(column, row, period, companyCode);
        bytes += line(cells);
    }
    return bytes;
}

} // namespace PayrollLayouts
