// Times the three long reports on a database of 1,000,000 deals (ten years,
// fifty salespeople, one deal in five split), each beside a floor measured in
// the same run: a bare QPdfWriter drawing the same texts at the same places
// from the same query or file. Prints each report's time over its floor and
// the peak resident memory of the process after the year's sales log. Then
// the dashboard opened on the database's last month, beside the same
// statements through the SQLite C API and a plain Qt Charts window.
//
// The database is generated on the first run, with SQLite directly in one
// transaction, and kept in the build folder (reports_bench_data/); later runs
// reuse it. The process that generates it starts itself again, so that the
// memory figure is the reports' own.
#include "common/money.h"
#include "common/money_format.h"
#include "common/program_folder.h"
#include "dashboard_items.h"
#include "raw_sqlite.h"
#include "reports/commission_data_file.h"
#include "reports/commission_sheet_report.h"
#include "reports/report_painter.h"
#include "reports/report_pdf.h"
#include "reports/sales_log_report.h"
#include "reports/sales_report_query.h"
#include "reports/salesperson_summary_report.h"
#include "store/deal_database.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kDeals = 1000000;
constexpr int kDays = 3653; // 2016-01-01 to 2025-12-31
constexpr int kSalesPeople = 50;
const QDate kFirstDay(2016, 1, 1);
const QDate kYearStart(2024, 1, 1);
const QDate kYearEnd(2024, 12, 31);
// The dashboard opens on the month of this day: the twelve months before
// it hold about 100,000 deals.
const QDate kDashboardDay(2025, 12, 20);

const char *const kFirst[] = {"JOHN",  "MARY",    "ROBERT", "LINDA", "JAMES", "PATRICIA", "ÉLODIE",
                              "DAVID", "BARBARA", "JOSÉ",   "SUSAN", "KAREN", "MIGUEL"};
const char *const kLast[] = {"SMITH",  "JOHNSON",  "WILLIAMS", "BROWN",    "JONES",  "MILLER",
                             "DAVIS",  "GARCIA",   "WILSON",   "ANDERSON", "TAYLOR", "MÜLLER",
                             "MARTIN", "ROBINSON", "O'HARA",   "LEWIS",    "CLARK"};
const char *const kUnits[] = {"EXPLORER SPT", "F-150 XLT", "TAURUS SE", "RANGER",
                              "FOCUS ZX3",    "ESCAPE",    "F-250 LARIAT", "MUSTANG GT"};

QString salesPerson(int index)
{
    return QStringLiteral("%1 %2")
        .arg(QString::fromUtf8(kFirst[index % 13]), QString::fromUtf8(kLast[index % 17]));
}

// The top seller (salesperson 0) sells one deal in twelve; the others share
// the rest.
int sellerOf(quint32 hash)
{
    return hash % 12 == 0 ? 0 : 1 + int(hash / 12 % (kSalesPeople - 1));
}

const char *unitClassOf(int n)
{
    const int share = n % 20;
    return share < 7 ? "NC" : share < 12 ? "NT" : share < 17 ? "UC" : "UT";
}

QString dataFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/reports_bench_data");
}

// The deals, written in one transaction straight into the tables the
// program made.
void generate(const QString &path)
{
    RawDatabase database(QFile::encodeName(path).toStdString());
    sqlite3 *db = database.get();
    database.exec("PRAGMA synchronous = OFF; BEGIN");
    RawStatement recall(db, "INSERT INTO RecallDeal (Date, SalesPerson, Customer, StockNo, Year, "
                         "Unit, TCU, SaleType, Gross, TtlComm, Split) "
                         "VALUES (?, ?, ?, ?, ?, ?, ?, 'L', ?, ?, ?)");
    RawStatement log(db, "INSERT INTO SalesLog (Date, StockNumber, Unit, CustomerName, SalesPerson, "
                      "Type, Gross, TCU, DealId) VALUES (?, ?, ?, ?, ?, 'L', ?, ?, ?)");
    RawStatement summary(db, "INSERT INTO SalesSummary (Date, Unit, Stock_Number, Customer_Name, "
                          "Sales_Person, TCU, Payable_Gross, Commission, Spiff, Warranty, "
                          "UnitCount, TotalCommission, Paid, DealId) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, 0, ?, ?, 1, ?)");
    quint32 hash = 20160101;
    for (int n = 0; n < kDeals; ++n) {
        hash = hash * 1664525u + 1013904223u;
        const QDate date = kFirstDay.addDays(qint64(n) * kDays / kDeals);
        const QByteArray day = date.toString(Qt::ISODate).toLatin1();
        const int seller = sellerOf(hash >> 8);
        const bool split = n % 5 == 0;
        const QByteArray person = salesPerson(seller).toUtf8();
        const QByteArray customer =
            (QString::fromUtf8(kFirst[(hash >> 4) % 13]) + u' ' +
             QString::fromUtf8(kLast[(hash >> 12) % 17]))
                .toUtf8();
        const QByteArray stock = QByteArray::number(100000 + n);
        const int year = date.year() - int(hash >> 20) % 2;
        const QByteArray unit =
            QByteArray::number(year) + ' ' + kUnits[(hash >> 16) % 8];
        const QByteArray tcu = unitClassOf(n);
        const qint64 gross = (250 + qint64(hash >> 10) % 4000) * Money::kScale + (n % 100) * 100;
        const qint64 commission = gross * 3 / 10;
        recall.bindText(1, day.toStdString());
        recall.bindText(2, person.toStdString());
        recall.bindText(3, customer.toStdString());
        recall.bindText(4, stock.toStdString());
        recall.bindInt(5, year);
        recall.bindText(6, unit.toStdString());
        recall.bindText(7, tcu.toStdString());
        recall.bindInt(8, gross);
        recall.bindInt(9, commission);
        recall.bindInt(10, split ? 1 : 0);
        recall.run();
        const qint64 id = sqlite3_last_insert_rowid(db);
        log.bindText(1, day.toStdString());
        log.bindText(2, stock.toStdString());
        log.bindText(3, unit.toStdString());
        log.bindText(4, customer.toStdString());
        log.bindText(5, person.toStdString());
        log.bindInt(6, gross);
        log.bindText(7, tcu.toStdString());
        log.bindInt(8, id);
        log.run();
        const int partner = (seller + 1 + int(hash % (kSalesPeople - 1))) % kSalesPeople;
        for (int share = 0; share < (split ? 2 : 1); ++share) {
            const int divisor = split ? 2 : 1;
            summary.bindText(1, day.toStdString());
            summary.bindText(2, unit.toStdString());
            summary.bindText(3, stock.toStdString());
            summary.bindText(4, customer.toStdString());
            const QByteArray name = share == 0 ? person : salesPerson(partner).toUtf8();
            summary.bindText(5, name.toStdString());
            summary.bindText(6, tcu.toStdString());
            summary.bindInt(7, gross / divisor);
            summary.bindInt(8, commission / divisor);
            summary.bindInt(9, Money::kScale / divisor);
            summary.bindInt(10, commission / divisor);
            summary.bindInt(11, id);
            summary.run();
        }
    }
    database.exec("COMMIT");
}

// The database of the run, generated when it is missing.
struct Fixture
{
    std::unique_ptr<DealDatabase> database;
    QTemporaryDir output;
    QString topSeller = salesPerson(0);

    Fixture()
    {
        database = std::make_unique<DealDatabase>(ProgramFolder(dataFolder()));
        QString error;
        if (!database->open(&error))
            qFatal("%s", qPrintable(error));
    }

    QString pdfPath(const char *name) const { return output.filePath(QString::fromLatin1(name)); }
};

Fixture &fixture()
{
    static Fixture shared;
    return shared;
}

// --- The floors: the same texts drawn with a bare QPdfWriter ---------------

// A text the floor draws at a fixed place of a band: left edge, top and width
// in inches, size in points.
struct BandText
{
    qreal x;
    qreal y;
    qreal width;
    QString text;
    qreal size = 10;
    bool bold = false;
};

// Texts drawn together, `height` inches tall: a page's column headings, the
// first page's title.
struct Band
{
    qreal height = 0;
    std::vector<BandText> texts;
};

// Draws rows of texts at the given left edges and widths, `rowHeight` inches
// apart, in one font, a new page when the page's body is full. Like the
// report, every page starts with `heading`, the first page with `first`
// above it, and `footer` inches are kept free at the foot of each page.
class BareSheet
{
public:
    struct Pages
    {
        qreal rowHeight;
        qreal fontSize;
        Band heading;
        Band first;
        qreal footer = 0;
    };

    BareSheet(const QString &path, const QPageLayout &page, const Pages &pages)
        : m_writer(path), m_pages(pages), m_rowFont(QStringLiteral("Arial"))
    {
        m_writer.setResolution(600);
        m_writer.setPageLayout(page);
        m_painter.begin(&m_writer);
        m_rowFont.setPointSizeF(pages.fontSize);
        m_bodyHeight = page.paintRect(QPageLayout::Inch).height() - pages.footer;
        draw(m_pages.first);
        draw(m_pages.heading);
    }
    ~BareSheet() { m_painter.end(); }

    int pageCount() const { return m_pageCount; }

    void row(const QStringList &texts, const std::vector<std::pair<qreal, qreal>> &columns)
    {
        if (m_y + m_pages.rowHeight > m_bodyHeight) {
            m_writer.newPage();
            ++m_pageCount;
            m_y = 0;
            draw(m_pages.heading);
        }
        m_painter.setFont(m_rowFont);
        for (size_t i = 0; i < columns.size(); ++i)
            m_painter.drawText(QRectF(columns[i].first * 600, m_y * 600, columns[i].second * 600,
                                      m_pages.rowHeight * 600),
                               Qt::AlignLeft | Qt::AlignVCenter, texts.at(int(i)));
        m_y += m_pages.rowHeight;
    }

private:
    void draw(const Band &band)
    {
        for (const BandText &text : band.texts) {
            QFont font(QStringLiteral("Arial"));
            font.setPointSizeF(text.size);
            font.setBold(text.bold);
            m_painter.setFont(font);
            m_painter.drawText(QRectF(text.x * 600, (m_y + text.y) * 600, text.width * 600,
                                      0.1875 * 600),
                               Qt::AlignLeft | Qt::AlignVCenter, text.text);
        }
        m_y += band.height;
    }

    QPdfWriter m_writer;
    QPainter m_painter;
    Pages m_pages;
    QFont m_rowFont;
    qreal m_bodyHeight = 9;
    qreal m_y = 0;
    int m_pageCount = 1;
};

QString shortDate(const QVariant &iso)
{
    return DateFormat::picture(QDate::fromString(iso.toString(), Qt::ISODate),
                               QStringLiteral("mm/dd/yy"));
}

QString dollars(const QVariant &units)
{
    return MoneyFormat::dollarsGrouped(Money::fromUnits(units.toLongLong()));
}

// --- The benchmarks ---------------------------------------------------------

const SalesReportQuery &yearLog()
{
    static const SalesReportQuery query =
        SalesReportQuery::salesLog(QStringLiteral("NC"), kYearStart, kYearEnd);
    return query;
}

const SalesReportQuery &topSellerYear()
{
    static const SalesReportQuery query =
        SalesReportQuery::salesSummary(fixture().topSeller, kYearStart, kYearEnd);
    return query;
}

// Lays `report` out from the rows of `query`, read as the pages are laid
// out, and writes it to a PDF file.
template <typename Report>
void reportToPdf(benchmark::State &state, Report &report, const SalesReportQuery &query,
                 const char *file)
{
    Fixture &f = fixture();
    int pages = 0;
    for (auto _ : state) {
        QString error;
        const std::unique_ptr<ReportQueryRows> rows = query.open(*f.database, &error);
        if (!rows)
            qFatal("%s", qPrintable(error));
        const ReportDocument document = report.run(*rows);
        pages = document.pageCount();
        if (!ReportPdf::write(document, f.pdfPath(file), &error))
            qFatal("%s", qPrintable(error));
    }
    state.counters["pages"] = pages;
}

using Columns = std::vector<std::pair<qreal, qreal>>;
using RowTexts = QStringList (*)(const QSqlQuery &);

// The floor of a report on a query: the same query read and its texts drawn.
void queryFloor(benchmark::State &state, const SalesReportQuery &statement,
                const QPageLayout &page, const BareSheet::Pages &pages, const Columns &columns,
                RowTexts texts, const char *file)
{
    Fixture &f = fixture();
    int rowsDrawn = 0;
    int pagesDrawn = 0;
    for (auto _ : state) {
        QSqlQuery query(f.database->connection());
        query.setForwardOnly(true);
        query.prepare(statement.statement);
        for (const QVariant &value : statement.values)
            query.addBindValue(value);
        query.exec();
        BareSheet sheet(f.pdfPath(file), page, pages);
        rowsDrawn = 0;
        while (query.next()) {
            sheet.row(texts(query), columns);
            ++rowsDrawn;
        }
        pagesDrawn = sheet.pageCount();
    }
    state.counters["rows"] = rowsDrawn;
    state.counters["pages"] = pagesDrawn;
}

void setYearLog(SalesLogReport &report)
{
    report.setVehicleTitle(QStringLiteral("New Cars"));
    report.setRange(kYearStart, kYearEnd);
}

void salesLogToPdf(benchmark::State &state)
{
    SalesLogReport report;
    setYearLog(report);
    reportToPdf(state, report, yearLog(), "log.pdf");
}

// What the preview does before the user sees the year's log: the pages laid
// out from the query, and the first one painted on a screen-sized image.
void salesLogFirstPage(benchmark::State &state)
{
    Fixture &f = fixture();
    SalesLogReport report;
    setYearLog(report);
    QImage screen(820, 1060, QImage::Format_RGB32);
    for (auto _ : state) {
        QString error;
        const std::unique_ptr<ReportQueryRows> rows = yearLog().open(*f.database, &error);
        if (!rows)
            qFatal("%s", qPrintable(error));
        const ReportDocument document = report.run(*rows);
        screen.fill(Qt::white);
        QPainter painter(&screen);
        ReportPainter::paintPage(document, 0, painter, screen.logicalDpiX(), screen.logicalDpiY());
    }
}

void salesLogFloor(benchmark::State &state)
{
    const Columns columns = {{0.125, 0.625}, {0.8125, 0.625}, {1.5, 1.125},   {2.625, 1.5},
                             {4.125, 2.0625}, {6.3125, 0.4375}, {6.75, 0.75}};
    const auto bold = [](qreal x, qreal width, const char *text) {
        return BandText{x, 0.375, width, QString::fromLatin1(text), 10, true};
    };
    const BareSheet::Pages pages{
        .rowHeight = 0.25,
        .fontSize = 9,
        .heading = {0.625,
                    {{2.1875, 0, 3.25, QStringLiteral("New Cars"), 14.5, true},
                     bold(0, 0.625, "Date"), bold(0.8125, 0.625, "Stock #"),
                     bold(1.5, 0.75, "Unit"), bold(2.625, 1.1875, "Customer Name"),
                     bold(4.125, 1.125, "Sales Person"), bold(6.3125, 0.4375, "Type"),
                     bold(6.75, 0.625, "Gross")}},
        .first = {0.75,
                  {{2.1875, 0.125, 3.25, QStringLiteral("SalesLog"), 28},
                   {0.5625, 0.3125, 1.3125, QStringLiteral("For Dates")},
                   {0.25, 0.5, 0.875, QStringLiteral("01/01/2024")},
                   {1.125, 0.5, 0.25, QStringLiteral(" to ")},
                   {1.375, 0.5, 0.6875, QStringLiteral("12/31/2024")},
                   {3.5625, 0.5, 0.5, QStringLiteral("for"), 12, true}}},
        .footer = 0,
    };
    queryFloor(state, yearLog(), SalesLogReport().layout().pageLayout(), pages, columns,
               [](const QSqlQuery &query) {
                   return QStringList{shortDate(query.value(0)), query.value(1).toString(),
                                      query.value(2).toString(), query.value(3).toString(),
                                      query.value(4).toString(), query.value(5).toString(),
                                      dollars(query.value(6))};
               },
               "log_floor.pdf");
}

void summaryToPdf(benchmark::State &state)
{
    SalespersonSummaryReport report;
    report.setSalesPerson(fixture().topSeller);
    report.setPeriod(kYearStart, kYearEnd);
    reportToPdf(state, report, topSellerYear(), "summary.pdf");
}

void summaryFloor(benchmark::State &state)
{
    const Columns columns = {{0, 0.625},      {0.625, 0.875},   {1.5, 1.25},
                             {2.75, 1.625},   {4.4375, 0.75},   {5.1875, 0.8125},
                             {6.0625, 0.4375}};
    const auto plain = [](qreal x, qreal width, const char *text) {
        return BandText{x, 0.8125, width, QString::fromLatin1(text)};
    };
    const BareSheet::Pages pages{
        .rowHeight = 0.1875,
        .fontSize = 10,
        .heading = {1.0625,
                    {{1.6562, 0, 3.1875, QStringLiteral("Salesperson Summary Report"), 14.5, true},
                     {0.125, 0.4375, 0.375, QStringLiteral("For:"), 11.5, true},
                     {0.5, 0.4375, 1.5625, fixture().topSeller},
                     {4.125, 0.4375, 0.5625, QStringLiteral("Period:"), 11, true},
                     {4.6875, 0.4375, 0.6875, QStringLiteral("1/1/24"), 11, true},
                     {5.375, 0.4375, 0.25, QStringLiteral("to"), 11, true},
                     {5.625, 0.4375, 0.75, QStringLiteral("12/31/24"), 11, true},
                     {4.4375, 0.6875, 0.75, QStringLiteral("Payable")},
                     {4.4375, 0.8125, 0.75, QStringLiteral("Gross")},
                     plain(0, 0.5, "Date"), plain(0.625, 0.6875, "Stock #"),
                     plain(1.5, 0.875, "Unit"), plain(2.75, 1.25, "Customer"),
                     plain(5.1875, 0.75, "Commision"), plain(6.0625, 0.6875, "Unit Cnt")}},
        .first = {},
        .footer = 0,
    };
    queryFloor(state, topSellerYear(), SalespersonSummaryReport().layout().pageLayout(), pages,
               columns,
               [](const QSqlQuery &query) {
                   return QStringList{
                       shortDate(query.value(0)), query.value(2).toString(),
                       query.value(1).toString(), query.value(3).toString(),
                       dollars(query.value(6)),   dollars(query.value(7)),
                       MoneyFormat::plain(Money::fromUnits(query.value(10).toLongLong()))};
               },
               "summary_floor.pdf");
}

// The hand-off file of a sheet paying 1,000 deals.
QString sheetFile()
{
    static const QString path = [] {
        Fixture &f = fixture();
        QSqlQuery query(f.database->connection());
        query.setForwardOnly(true);
        query.exec(QStringLiteral("SELECT Customer_Name, Stock_Number, TCU, Payable_Gross, "
                                  "Commission, Spiff, Warranty, TotalCommission FROM SalesSummary "
                                  "ORDER BY rowid DESC LIMIT 1000"));
        QList<QVariantList> deals;
        while (query.next()) {
            QVariantList deal{query.value(0).toString(), query.value(1).toString(),
                              query.value(2).toString()};
            for (int i = 3; i < 8; ++i)
                deal << QVariant::fromValue(Money::fromUnits(query.value(i).toLongLong()));
            deals << deal;
        }
        const QString file = f.output.filePath(QStringLiteral("data.txt"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file));
        out.write(CommissionDataFile::encode(deals));
        return file;
    }();
    return path;
}

void commissionSheetToPdf(benchmark::State &state)
{
    Fixture &f = fixture();
    CommissionSheetReport report;
    const CommissionSheetFigures figures{.salesPerson = f.topSeller,
                                         .weekEnd = QStringLiteral("12/27/2024"),
                                         .tally = QStringLiteral("1234567.5"),
                                         .bonus = QStringLiteral("250"),
                                         .bonusDescription = QStringLiteral("Plateau Bonus")};
    const QString file = sheetFile();
    int pages = 0;
    for (auto _ : state) {
        QString error;
        const std::optional<ReportDocument> document = report.run(file, figures, &error);
        if (!document || !ReportPdf::write(*document, f.pdfPath("sheet.pdf"), &error))
            qFatal("%s", qPrintable(error));
        pages = document->pageCount();
    }
    state.counters["pages"] = pages;
}

void commissionSheetFloor(benchmark::State &state)
{
    Fixture &f = fixture();
    static const QPageLayout page = CommissionSheetReport().layout().pageLayout();
    const std::vector<std::pair<qreal, qreal>> columns = {
        {0.125, 1.9375}, {2.125, 0.9375}, {3.3125, 0.4375}, {4.125, 0.9375},
        {5.125, 1},      {6.1875, 0.75},  {6.9375, 0.9375}, {8.0625, 1.1875}};
    const auto heading = [](qreal x, qreal width, const char *text) {
        return BandText{x, 0.0625, width, QString::fromLatin1(text)};
    };
    const BareSheet::Pages pages{
        .rowHeight = 0.1875,
        .fontSize = 10,
        .heading = {0.3125,
                    {heading(0.125, 1.125, "Customer"), heading(2.125, 0.9375, "Stock Number"),
                     heading(3.1875, 0.75, "Car/Truck"), heading(4.125, 0.9375, "Gross"),
                     heading(5.125, 1, "Commission"), heading(6.1875, 0.75, "Spiff"),
                     heading(6.9375, 0.9375, "Warranty"), heading(8.0625, 1.1875, "Commission")}},
        .first = {0.5,
                  {{3.0625, 0.0625, 3.375, QStringLiteral("Commission Sheet"), 16, true},
                   {0.4375, 0.25, 0.9375, QStringLiteral("Sales Person:")},
                   {1.375, 0.25, 1.25, f.topSeller},
                   {6.8125, 0.25, 1.375, QStringLiteral("Week/Month Ending:")},
                   {8.1875, 0.25, 1, QStringLiteral("12/27/2024")}}},
        .footer = 0.25,
    };
    const QString file = sheetFile();
    int rowsDrawn = 0;
    int pagesDrawn = 0;
    for (auto _ : state) {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        BareSheet sheet(f.pdfPath("sheet_floor.pdf"), page, pages);
        rowsDrawn = 0;
        for (const QByteArray &line : in.readAll().split('\n')) {
            if (line.trimmed().isEmpty())
                continue;
            QStringList texts;
            const QList<QByteArray> values = line.trimmed().split(',');
            for (int i = 0; i < values.size(); ++i) {
                const QString value = QString::fromUtf8(values.at(i)).remove(u'"');
                const std::optional<Money> amount = MoneyText::parse(value);
                texts << (i < 3    ? value
                          : i == 3 ? MoneyFormat::grouped(*amount)
                                   : MoneyFormat::dollarsGrouped(*amount));
            }
            sheet.row(texts, columns);
            ++rowsDrawn;
        }
        pagesDrawn = sheet.pageCount();
    }
    state.counters["rows"] = rowsDrawn;
    state.counters["pages"] = pagesDrawn;
}

void dashboardToScreen(benchmark::State &state)
{
    dashboardOpen(state, *fixture().database, kDashboardDay);
}

void dashboardFloorToScreen(benchmark::State &state)
{
    dashboardFloor(state, QFile::encodeName(dataFolder() + QStringLiteral("/Sales Log2.mdb"))
                              .toStdString(),
                   kDashboardDay);
}

// The high-water mark of the process's resident memory, in megabytes.
double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024; // kilobytes on Linux
}

double g_peakAfterLog = 0;

// The year's log written once before anything else runs, so that the
// memory high-water mark read right after it is the log's.
void measureLogMemory()
{
    Fixture &f = fixture();
    SalesLogReport report;
    setYearLog(report);
    QString error;
    const std::unique_ptr<ReportQueryRows> rows = yearLog().open(*f.database, &error);
    if (!rows)
        qFatal("%s", qPrintable(error));
    if (!ReportPdf::write(report.run(*rows), f.pdfPath("log.pdf"), &error))
        qFatal("%s", qPrintable(error));
    g_peakAfterLog = peakResidentMegabytes();
}

// Prints the runs as usual, then each report's time over its floor.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                continue;
            const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_times[run.run_name.function_name] = {run.GetAdjustedRealTime() / perSecond,
                                                   run.GetAdjustedCPUTime() / perSecond};
        }
    }

    // The ratio is taken on the median of the repetitions' processor time of
    // this process: on a shared machine the wall-clock time mostly measures
    // the other programs, and one slow repetition says little.
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nmedians of the repetitions\n%-16s %12s %12s %12s %12s %8s\n", "report",
                    "real s", "floor real s", "cpu s", "floor cpu s", "ratio");
        for (const char *name : {"salesLog", "summary", "commissionSheet"}) {
            const Times report = m_times[std::string(name) + "ToPdf"];
            const Times floor = m_times[std::string(name) + "Floor"];
            std::printf("%-16s %12.3f %12.3f %12.3f %12.3f %7.2fx (goal <= 1.30x)\n", name,
                        report.real, floor.real, report.cpu, floor.cpu,
                        floor.cpu > 0 ? report.cpu / floor.cpu : 0.0);
        }
        std::printf("peak resident memory after the year's sales log: %.1f MB (goal <= 80 MB)\n",
                    g_peakAfterLog);
        const Times dashboard = m_times["dashboardToScreen"];
        const Times dashboardFloor = m_times["dashboardFloorToScreen"];
        std::printf("dashboard opened on a month: %.3f s real, %.3f s cpu; floor %.3f s real, "
                    "%.3f s cpu; ratio %.2fx cpu, %.2fx real (goal <= 0.200 s)\n",
                    dashboard.real, dashboard.cpu, dashboardFloor.real, dashboardFloor.cpu,
                    dashboardFloor.cpu > 0 ? dashboard.cpu / dashboardFloor.cpu : 0.0,
                    dashboardFloor.real > 0 ? dashboard.real / dashboardFloor.real : 0.0);
        const Times preview = m_times["salesLogFirstPage"];
        std::printf("year's sales log laid out with its first page painted: %.3f s real, %.3f s "
                    "cpu (goal <= 1 s)\n",
                    preview.real, preview.cpu);
    }

private:
    struct Times
    {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> m_times;
};

} // namespace

// Each figure is the median of several repetitions, the repetitions of all
// the benchmarks run in a shuffled order, so that a report and its floor
// share the machine's good and bad moments.
BENCHMARK(salesLogToPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(salesLogFloor)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(salesLogFirstPage)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(summaryToPdf)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(7);
BENCHMARK(summaryFloor)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(7);
BENCHMARK(commissionSheetToPdf)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(9);
BENCHMARK(commissionSheetFloor)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(9);
BENCHMARK(dashboardToScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7);
BENCHMARK(dashboardFloorToScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString database = dataFolder() + QStringLiteral("/Sales Log2.mdb");
    if (!QFile::exists(database)) {
        QDir().mkpath(dataFolder());
        {
            DealDatabase made{ProgramFolder(dataFolder())};
            QString error;
            if (!made.open(&error))
                qFatal("%s", qPrintable(error));
        }
        std::fprintf(stderr, "generating %d deals into %s ...\n", kDeals, qPrintable(database));
        generate(database);
        // Starts again, so that the generation's memory is not counted.
        std::fflush(nullptr);
        execv("/proc/self/exe", argv);
    }
    measureLogMemory();
    std::vector<char *> arguments(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
