#include "common/money_format.h"
#include "report_test_support.h"
#include "reports/report_layout.h"
#include "reports/report_renderer.h"
#include "reports/report_rows.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using ReportRead::placementsOf;
using ReportRead::textOf;
using Kind = ReportSection::Kind;

namespace {

QRectF box(qreal top, qreal left, qreal width = 1.5)
{
    return QRectF(left, top, width, 0.1875);
}

ReportControl label(const char *name, qreal top, qreal left, const char *caption)
{
    return ReportControl::label(QString::fromLatin1(name), box(top, left),
                                QString::fromLatin1(caption));
}

ReportControl field(const char *name, qreal top, qreal left)
{
    return ReportControl::field(QString::fromLatin1(name), box(top, left));
}

ReportRow row(std::initializer_list<std::pair<const char *, QVariant>> values)
{
    ReportRow r;
    for (const auto &[name, value] : values)
        r.insert(QString::fromLatin1(name), value);
    return r;
}

// Letter paper with one-inch margins leaves a printable area 9 in high.
TEST(Renderer, PaginatesSectionsOverManyRows)
{
    ReportLayout layout(QStringLiteral("Listing"));
    layout.addSection(ReportSection(Kind::ReportHeader, QStringLiteral("ReportHeader"), 0.5))
        .add(label("Title", 0, 0, "Listing"));
    layout.addSection(ReportSection(Kind::PageHeader, QStringLiteral("PageHeader"), 0.25))
        .add(label("Heading", 0, 0, "Name"));
    ReportSection &detail =
        layout.addSection(ReportSection(Kind::Detail, QStringLiteral("Detail"), 1.0));
    detail.add(field("Name", 0, 0)).withDataField(QStringLiteral("Name"));
    detail.add(ReportControl::line(QStringLiteral("Rule"), QLineF(0, 0.5, 6, 0.5)));
    layout.addSection(ReportSection(Kind::PageFooter, QStringLiteral("PageFooter"), 0.25))
        .add(label("Foot", 0, 0, "continued"));
    layout.addSection(ReportSection(Kind::ReportFooter, QStringLiteral("ReportFooter"), 0.5))
        .add(label("End", 0, 0, "End of listing"));

    ReportRows rows;
    for (int i = 1; i <= 20; ++i)
        rows.append(row({{"Name", QStringLiteral("Row %1").arg(i)}}));
    const ReportDocument document = ReportRenderer(layout).run(rows);

    // Page 1: header 0.5 + page header 0.25, eight rows up to the footer at
    // 8.75; pages 2 and 3: page header, eight and then four rows.
    ASSERT_EQ(document.pageCount(), 3);
    const auto titles = placementsOf(document, QStringLiteral("Title"));
    ASSERT_EQ(titles.size(), 1);
    EXPECT_EQ(titles.first().page, 1);

    const auto headings = placementsOf(document, QStringLiteral("Heading"));
    const auto feet = placementsOf(document, QStringLiteral("Foot"));
    ASSERT_EQ(headings.size(), 3);
    ASSERT_EQ(feet.size(), 3);
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(headings.at(page - 1).page, page);
        EXPECT_DOUBLE_EQ(headings.at(page - 1).y, page == 1 ? 0.5 : 0);
        EXPECT_EQ(feet.at(page - 1).page, page);
        EXPECT_DOUBLE_EQ(feet.at(page - 1).y, 8.75);
    }

    const auto names = placementsOf(document, QStringLiteral("Name"));
    ASSERT_EQ(names.size(), 20);
    const int firstOnPage[] = {0, 8, 16};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(names.at(i).text, QStringLiteral("Row %1").arg(i + 1));
        const int page = i < 8 ? 1 : i < 16 ? 2 : 3;
        const qreal top = page == 1 ? 0.75 : 0.25;
        EXPECT_EQ(names.at(i).page, page) << i;
        EXPECT_DOUBLE_EQ(names.at(i).y, top + (i - firstOnPage[page - 1]) * 1.0) << i;
    }
    EXPECT_EQ(ReportRead::linesOn(document, 2).size(), 4);

    const auto ends = placementsOf(document, QStringLiteral("End"));
    ASSERT_EQ(ends.size(), 1);
    EXPECT_EQ(ends.first().page, 3);
    EXPECT_DOUBLE_EQ(ends.first().y, 0.25 + 4.0);
}

TEST(Renderer, NoRowsPrintsNoDetail)
{
    ReportLayout layout(QStringLiteral("Empty"));
    layout.addSection(ReportSection(Kind::ReportHeader, QStringLiteral("ReportHeader"), 0.5))
        .add(label("Title", 0, 0, "Listing"));
    layout.addSection(ReportSection(Kind::Detail, QStringLiteral("Detail"), 0.25))
        .add(field("Name", 0, 0))
        .withDataField(QStringLiteral("Name"));

    const ReportDocument document = ReportRenderer(layout).run(ReportRows());
    EXPECT_EQ(document.pageCount(), 1);
    EXPECT_EQ(textOf(document, QStringLiteral("Title")), QStringLiteral("Listing"));
    EXPECT_EQ(textOf(document, QStringLiteral("Name")), std::nullopt);
}

TEST(Renderer, OutputFormatAppliesToDataValuesOnly)
{
    ReportLayout layout(QStringLiteral("Formats"));
    ReportSection &detail =
        layout.addSection(ReportSection(Kind::Detail, QStringLiteral("Detail"), 0.25));
    struct Case
    {
        const char *control;
        const char *dataField; // nullptr: text set from code
        const char *format;
        QVariant value; // the data value, or the text set from code
        const char *printed;
    };
    const Case cases[] = {
        {"Bound", "Gross", "$#,##0.00", QStringLiteral("1234.5"), "$1,234.50"},
        {"FromCode", nullptr, "$#,##0.00", QStringLiteral("1234.5"), "1234.5"},
        {"Money", "Commission", "$#,##0.00", QVariant::fromValue(Money::fromCents(43750)),
         "$437.50"},
        {"Whole", "Units", "#,##0.00", QVariant(1500), "1,500.00"},
        {"Rounded", "Total", "$#,##0", QStringLiteral("2469.5"), "$2,470"},
        {"Rate", "Rate", "0%", QStringLiteral("0.3"), "30%"},
        {"NotANumber", "Note", "$#,##0.00", QStringLiteral("call"), "call"},
        {"Null", "Missing", "$#,##0.00", QVariant(), ""},
        {"IsoDate", "Day", "mm/dd/yy", QStringLiteral("2007-11-05"), "11/05/07"},
        {"Date", "Sold", "m/d/yy", QDate(2007, 3, 7), "3/7/07"},
        {"NoFormat", "Plain", "", QVariant::fromValue(Money::fromCents(125050)), "1250.5"},
    };
    ReportRow data;
    for (const Case &c : cases) {
        ReportControl &control = detail.add(field(c.control, 0, 0));
        control.withFormat(QString::fromLatin1(c.format));
        if (c.dataField) {
            control.withDataField(QString::fromLatin1(c.dataField));
            data.insert(QString::fromLatin1(c.dataField), c.value);
        } else {
            control.setText(c.value.toString());
        }
    }
    ReportRows rows;
    rows.append(data);
    const ReportDocument document = ReportRenderer(layout).run(rows);
    for (const Case &c : cases)
        EXPECT_EQ(textOf(document, QString::fromLatin1(c.control)), QString::fromUtf8(c.printed))
            << c.control;
}

// Groups on a data field, with count, sum and average in the footer and a
// handler that reads the printed summaries.
TEST(Renderer, GroupsAndSummaries)
{
    ReportLayout layout(QStringLiteral("Log"));
    ReportSection &header =
        layout.addSection(ReportSection(Kind::GroupHeader, QStringLiteral("ghTCU"), 0.25)
                              .withGroupField(QStringLiteral("TCU")));
    header.add(field("Class", 0, 0)).withDataField(QStringLiteral("TCU"));
    layout.addSection(ReportSection(Kind::Detail, QStringLiteral("Detail"), 0.25))
        .add(field("Gross", 0, 0))
        .withDataField(QStringLiteral("Gross"))
        .withFormat(QStringLiteral("$#,##0.00"));
    ReportSection &footer =
        layout.addSection(ReportSection(Kind::GroupFooter, QStringLiteral("gfTCU"), 0.75));
    footer.add(field("Units", 0, 0))
        .withDataField(QStringLiteral("Stock"))
        .withSummary({ReportSummary::Function::Count});
    footer.add(field("Total", 0.25, 0))
        .withDataField(QStringLiteral("Gross"))
        .withFormat(QStringLiteral("$#,##0.00"))
        .withSummary({ReportSummary::Function::Sum});
    footer.add(field("Average", 0.5, 0))
        .withDataField(QStringLiteral("Gross"))
        .withFormat(QStringLiteral("$#,##0"))
        .withSummary({ReportSummary::Function::Average});
    footer.add(field("Running", 0.5, 2))
        .withDataField(QStringLiteral("Gross"))
        .withSummary({ReportSummary::Function::Sum, ReportSummary::Scope::Report});
    footer.add(label("PerUnit", 0.5, 4, ""));
    footer.setBeforePrint([](ReportSection &section) {
        const Money total = MoneyText::readAmount(section.control(QStringLiteral("Total"))->text());
        const qint64 units = section.control(QStringLiteral("Units"))->text().toLongLong();
        section.control(QStringLiteral("PerUnit"))
            ->setCaption(MoneyFormat::wholeDollarsWithPoint(total.dividedBy(units)));
    });

    ReportRows rows;
    rows.append(
        row({{"TCU", QStringLiteral("NC")}, {"Stock", QStringLiteral("A1")}, {"Gross", 1000}}));
    rows.append(
        row({{"TCU", QStringLiteral("NC")}, {"Stock", QStringLiteral("A2")}, {"Gross", 2000}}));
    rows.append(
        row({{"TCU", QStringLiteral("NC")}, {"Stock", QStringLiteral("A3")}, {"Gross", 4000}}));
    rows.append(row({{"TCU", QStringLiteral("UC")},
                     {"Stock", QStringLiteral("B1")},
                     {"Gross", QStringLiteral("$1,500.50")}}));
    rows.append(row({{"TCU", QStringLiteral("UC")}, {"Stock", QVariant()}, {"Gross", QVariant()}}));
    const ReportDocument document = ReportRenderer(layout).run(rows);

    const QStringList order = [&] {
        QStringList names;
        for (const PlacedText &t : document.placedTexts())
            names << t.control + u'=' + t.text;
        return names;
    }();
    const QStringList expected = {
        "Class=NC",       "Gross=$1,000.00", "Gross=$2,000.00", "Gross=$4,000.00",
        "Units=3",        "Total=$7,000.00", "Average=$2,333",  "Running=7000",
        "PerUnit=$2333.", "Class=UC",        "Gross=$1,500.50", "Gross=",
        "Units=1",        "Total=$1,500.50", "Average=$1,501",  "Running=8500.5",
        "PerUnit=$1501.",
    };
    EXPECT_EQ(order, expected);
}

// Two halves of an odd cent stored before splits were kept in whole cents
// print $312.51 each: the total is what the printed lines add up to, a
// negative amount included.
TEST(Renderer, ASumAddsTheAmountsAsTheirLinesPrintThem)
{
    ReportLayout layout(QStringLiteral("Sheet"));
    layout.addSection(ReportSection(Kind::Detail, QStringLiteral("Detail"), 0.25))
        .add(field("Line", 0, 0))
        .withDataField(QStringLiteral("Paid"))
        .withFormat(QStringLiteral("$#,##0.00"));
    layout.addSection(ReportSection(Kind::ReportFooter, QStringLiteral("Footer"), 0.25))
        .add(field("Total", 0, 0))
        .withDataField(QStringLiteral("Paid"))
        .withFormat(QStringLiteral("$#,##0.00"))
        .withSummary({ReportSummary::Function::Sum, ReportSummary::Scope::Report});

    ReportRows rows;
    for (const char *amount : {"312.505", "312.505", "787.5", "-10.004"})
        rows.append(row({{"Paid", QString::fromLatin1(amount)}}));
    const ReportDocument document = ReportRenderer(layout).run(rows);

    QStringList lines;
    for (const PlacedText &line : placementsOf(document, QStringLiteral("Line")))
        lines << line.text;
    EXPECT_EQ(lines, (QStringList{"$312.51", "$312.51", "$787.50", "-$10.00"}));
    EXPECT_EQ(textOf(document, QStringLiteral("Total")), QStringLiteral("$1,402.52"));
}

TEST(Renderer, HiddenControlsDoNotPrintUntilShown)
{
    ReportLayout layout(QStringLiteral("Form"));
    ReportSection &detail =
        layout.addSection(ReportSection(Kind::Detail, QStringLiteral("Detail"), 1));
    detail.add(label("Note", 0, 0, "Split")).hidden();
    detail.add(ReportControl::line(QStringLiteral("Under"), QLineF(0, 0.2, 1, 0.2))).hidden();

    EXPECT_EQ(textOf(ReportRenderer(layout).runOnce(), QStringLiteral("Note")), std::nullopt);
    layout.control(QStringLiteral("Note"))->setVisible(true);
    layout.control(QStringLiteral("Under"))->setVisible(true);
    const ReportDocument shown = ReportRenderer(layout).runOnce();
    EXPECT_EQ(textOf(shown, QStringLiteral("Note")), QStringLiteral("Split"));
    EXPECT_EQ(ReportRead::linesOn(shown, 0), QStringList{QStringLiteral("Under")});
}

TEST(ReportRowsFromQuery, ReadsEveryColumnAndAmountsAsMoney)
{
    const QString connection = QStringLiteral("report_rows_test");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT 'N1' AS Stock, 12505000 AS Gross "
                                              "UNION ALL SELECT 'N2', NULL ORDER BY Stock")));
        const ReportRows rows = ReportRows::fromQuery(query, {QStringLiteral("Gross")});
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows.at(0).value(QStringLiteral("Stock")).toString(), QStringLiteral("N1"));
        EXPECT_EQ(rows.at(0).value(QStringLiteral("Gross")).value<Money>(),
                  Money::fromCents(125050));
        EXPECT_TRUE(rows.at(1).value(QStringLiteral("Gross")).isNull());
    }
    QSqlDatabase::removeDatabase(connection);
}

} // namespace
