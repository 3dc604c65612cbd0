#include "reports/commission_slip_report.h"
#include "reports/report_layout.h"
#include "reports/report_pdf.h"
#include "reports/report_renderer.h"
#include "reports/report_rows.h"
#include "temp_program_folder.h"
#include "worksheet/deal.h"

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

} // namespace
