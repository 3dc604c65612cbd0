// frmDashboard built headless on March 2005: its figures, its charts, the
// change to a year, and the view saved as a PNG picture and a PDF.
#include "dashboard_test_support.h"

#include "reports/ui/dashboard_window.h"
#include "scripted_prompts.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>

#include <memory>

namespace {

class DashboardWindowTest : public DashboardMarch
{
protected:
    QString text(const char *label) const
    {
        return window->findChild<QLabel *>(QString::fromLatin1(label))->text();
    }
    QChart *chart(const char *name) const
    {
        return window->findChild<QChartView *>(QString::fromLatin1(name))->chart();
    }
    QStringList row(int index) const
    {
        auto *grid = window->findChild<QTableWidget *>(QStringLiteral("grdSalesPeople"));
        QStringList texts;
        for (int column = 0; column < grid->columnCount(); ++column)
            texts << grid->item(index, column)->text();
        return texts;
    }
    void open(const QDate &today)
    {
        window = std::make_unique<DashboardWindow>(*m_database, prompts, today);
        window->show();
    }

    ScriptedPrompts prompts;
    std::unique_ptr<DashboardWindow> window;
};

INSTANTIATE_ON_BOTH_ENGINES(DashboardWindowTest);

TEST_P(DashboardWindowTest, OpensOnTheMonthOfTodayWithItsFiguresChartsAndList)
{
    open(QDate(2005, 3, 30));
    EXPECT_EQ(window->objectName(), QStringLiteral("frmDashboard"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dashboard"));
    EXPECT_EQ(window->findChild<QComboBox *>(QStringLiteral("cboPeriod"))->currentText(),
              QStringLiteral("Month"));
    EXPECT_EQ(text("lblUnits"), QStringLiteral("Units: 3"));
    EXPECT_EQ(text("lblGross"), QStringLiteral("Front gross: $8,300.50"));
    EXPECT_EQ(text("lblAverage"), QStringLiteral("Gross per unit: $2,766.83"));
    EXPECT_EQ(text("lblCommissionPaid"), QStringLiteral("Commission paid: $1,855.00"));
    EXPECT_EQ(row(1), (QStringList{QStringLiteral("JOHN SMITH"), QStringLiteral("1.5"),
                                   QStringLiteral("$5,850.00"),
                                   QStringLiteral("1.5 units this month \u2014 0.5 to 32%")}));
    EXPECT_EQ(row(2), (QStringList{QStringLiteral("JOSÉ PEÑA"), QStringLiteral("0"),
                                   QStringLiteral("-$1,000.00"), QString()}));

    auto *units = qobject_cast<QBarSeries *>(chart("chtUnits")->series().at(0));
    ASSERT_NE(units, nullptr);
    const QBarSet *set = units->barSets().at(0);
    EXPECT_EQ(set->count(), 4);
    EXPECT_EQ(set->at(1), 1.5);
    auto *gross = qobject_cast<QBarSeries *>(chart("chtGross")->series().at(0));
    EXPECT_EQ(gross->barSets().at(0)->at(3), 1950.0);
    const QList<QAbstractSeries *> lines = chart("chtMonths")->series();
    ASSERT_EQ(lines.size(), 2);
    const auto *monthUnits = qobject_cast<QLineSeries *>(lines.at(0));
    EXPECT_EQ(monthUnits->count(), 12);
    EXPECT_EQ(monthUnits->at(11).y(), 3.0);
    EXPECT_EQ(monthUnits->at(10).y(), 1.0);
    EXPECT_EQ(qobject_cast<QLineSeries *>(lines.at(1))->at(11).y(), 8300.5);
    EXPECT_EQ(prompts.recorded().size(), 0);
}

TEST_P(DashboardWindowTest, ChoosingTheYearShowsTheYear)
{
    open(QDate(2005, 4, 2));
    window->findChild<QComboBox *>(QStringLiteral("cboPeriod"))->setCurrentIndex(1);
    ASSERT_TRUE(window->figures());
    EXPECT_EQ(window->figures()->period, DashboardPeriod::year(2005));
    EXPECT_EQ(text("lblUnits"), QStringLiteral("Units: 5"));
    EXPECT_EQ(text("lblGross"), QStringLiteral("Front gross: $11,100.50"));
    EXPECT_EQ(window->findChild<QDateEdit *>(QStringLiteral("dtpPeriod"))->displayFormat(),
              QStringLiteral("yyyy"));
}

TEST_P(DashboardWindowTest, TheViewIsSavedAsAPictureAndAsAPdf)
{
    open(QDate(2005, 3, 30));
    const QString png = m_dir.filePath(QStringLiteral("March.png"));
    prompts.expectSaveFile(png, [](const Prompts::SaveFile &request) {
        EXPECT_EQ(request.title, QStringLiteral("Save the Dashboard as a Picture"));
        EXPECT_EQ(request.initialPath, QStringLiteral("Dashboard 2005-03.png"));
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("png"));
    });
    window->findChild<QPushButton *>(QStringLiteral("cmdExportPng"))->click();
    prompts.verify();
    const QByteArray picture = m_dir.readBytes(QStringLiteral("March.png"));
    EXPECT_TRUE(picture.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_GT(picture.size(), 10000);

    prompts.expectSaveFile(m_dir.filePath(QStringLiteral("March.pdf")));
    window->findChild<QPushButton *>(QStringLiteral("cmdExportPdf"))->click();
    prompts.verify();
    const QByteArray pdf = m_dir.readBytes(QStringLiteral("March.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));

    // Cancel writes nothing; a folder that is not there is said, and no file made.
    prompts.expectSaveFile(std::nullopt);
    window->cmdExportPdf_Click();
    const QString nowhere = m_dir.filePath(QStringLiteral("gone/March.pdf"));
    prompts.expectSaveFile(nowhere);
    prompts.expectMessage(QStringLiteral("The file \"%1\" could not be saved: No such file or directory "
                                         "(creating the new file)")
                              .arg(nowhere),
                          QStringLiteral("Save the Dashboard as a PDF"), Prompts::Icon::Critical,
                          Prompts::Buttons::Ok);
    window->cmdExportPdf_Click();
    prompts.verify();
    EXPECT_FALSE(QFile::exists(nowhere));
}

} // namespace
