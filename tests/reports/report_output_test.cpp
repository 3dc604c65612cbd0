#include "reports/commission_slip_report.h"
#include "reports/report_layout.h"
#include "reports/report_pdf.h"
#include "reports/report_renderer.h"
#include "reports/report_rows.h"
#include "temp_program_folder.h"
#include "worksheet/deal.h"

#include <QDir>
#include <QFile>

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportPdfFile, WritesTheSlip)
{
    TempProgramFolder dir;
    CommissionSlipReport report;
    Deal deal;
    deal.customer = QStringLiteral("Smith");
    deal.split = true;
    deal.totalCommission = QStringLiteral("$1250.00");
    report.fill(deal);
    const QString path = dir.filePath(QStringLiteral("slip.pdf"));
    QString error;
    ASSERT_TRUE(ReportPdf::write(report.run(), path, &error)) << error.toStdString();
    const QByteArray bytes = dir.readBytes(QStringLiteral("slip.pdf"));
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_GT(bytes.size(), 1000);
}

TEST(ReportPdfFile, WritesOnePdfPagePerReportPage)
{
    ReportLayout layout(QStringLiteral("Listing"));
    layout.addSection(ReportSection(ReportSection::Kind::Detail, QStringLiteral("Detail"), 4))
        .add(ReportControl::field(QStringLiteral("Name"), QRectF(0, 0, 2, 0.25)))
        .withDataField(QStringLiteral("Name"));
    ReportRows rows;
    for (int i = 0; i < 5; ++i)
        rows.append({{QStringLiteral("Name"), QString::number(i)}});
    const ReportDocument document = ReportRenderer(layout).run(rows);
    ASSERT_EQ(document.pageCount(), 3); // two 4-inch rows fit in 9 inches

    TempProgramFolder dir;
    ASSERT_TRUE(ReportPdf::write(document, dir.filePath(QStringLiteral("list.pdf"))));
    const QByteArray bytes = dir.readBytes(QStringLiteral("list.pdf"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 3);
}

TEST(ReportPdfFile, RefusesAPlaceThatCannotBeWritten)
{
    TempProgramFolder dir;
    const QString path = dir.filePath(QStringLiteral("no such folder/slip.pdf"));
    QString error;
    EXPECT_FALSE(ReportPdf::write(CommissionSlipReport().run(), path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

// A long report tells its pages as they are drawn; stopped, it leaves the
// file that was there as it was, never a part of the new one.
TEST(ReportPdfFile, TellsEachPageAndACancelledOneLeavesTheOldFile)
{
    ReportLayout layout(QStringLiteral("Listing"));
    layout.addSection(ReportSection(ReportSection::Kind::Detail, QStringLiteral("Detail"), 4))
        .add(ReportControl::field(QStringLiteral("Name"), QRectF(0, 0, 2, 0.25)))
        .withDataField(QStringLiteral("Name"));
    ReportRows rows;
    for (int i = 0; i < 9; ++i)
        rows.append({{QStringLiteral("Name"), QStringLiteral("Zoë %1").arg(i)}});
    const ReportDocument document = ReportRenderer(layout).run(rows);
    ASSERT_EQ(document.pageCount(), 5);

    TempProgramFolder dir;
    QList<std::pair<int, int>> told;
    ASSERT_TRUE(ReportPdf::write(document, dir.filePath(QStringLiteral("log.pdf")), nullptr,
                                 [&told](int done, int total) {
                                     told << std::pair(done, total);
                                     return true;
                                 }));
    EXPECT_EQ(told, (QList<std::pair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));

    dir.writeBytes(QStringLiteral("log.pdf"), "last year's log");
    QString error;
    int pages = 0;
    EXPECT_FALSE(ReportPdf::write(document, dir.filePath(QStringLiteral("log.pdf")), &error,
                                  [&pages](int done, int) {
                                      pages = done;
                                      return done < 3;
                                  }));
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(error, QStringLiteral("It was cancelled; no file was written."));
    EXPECT_EQ(dir.readBytes(QStringLiteral("log.pdf")), QByteArray("last year's log"));
    EXPECT_EQ(QDir(dir.folder().path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("log.pdf")});
}

} // namespace
