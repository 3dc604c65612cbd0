#include "admin/ui/main_menu.h"
#include "report_test_support.h"
#include "reports/commission_slip_report.h"
#include "reports/ui/print_command.h"
#include "reports/ui/report_preview.h"
#include "reports/ui/slip_printer.h"
#include "scripted_prompts.h"
#include "temp_program_folder.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PrintCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<DealWorksheet>(dir.folder(), prompts);
        menu = new MainMenu(form.get());
        ::PrintCommand command =
            makePrintCommand(*form, [this] { steps << QStringLiteral("save"); });
        menu->setCommand(QStringLiteral("tbrPrint"), command.run);
        printer = command.printer;
        ASSERT_NE(printer, nullptr);
        printer->setShowStep([this](const ReportDocument &document) {
            steps
                << QStringLiteral("show ") +
                       ReportRead::textOf(document, QStringLiteral("Field38")).value_or(QString());
        });
        Deal deal;
        deal.customer = QStringLiteral("Smith");
        form->showDeal(deal);
    }

    TempProgramFolder dir;
    ScriptedPrompts prompts;
    std::unique_ptr<DealWorksheet> form;
    MainMenu *menu = nullptr;
    SlipPrinter *printer = nullptr;
    QStringList steps;
};

TEST_F(PrintCommand, EveryRouteShowsTheSlipThenOffersTheSave)
{
    const QStringList oneRun = {QStringLiteral("show SMITH"), QStringLiteral("save")};
    menu->action(QStringLiteral("tbrPrint"))->trigger();
    EXPECT_EQ(steps, oneRun);

    steps.clear();
    menu->action(QStringLiteral("mnuprint"))->trigger();
    EXPECT_EQ(steps, oneRun);

    steps.clear();
    auto *button = form->findChild<QPushButton *>(QStringLiteral("Command2"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(steps, oneRun);

    EXPECT_EQ(printer->lastDocument().pageCount(), 1);
}

TEST_F(PrintCommand, OneSlipReportServesEveryPrint)
{
    EXPECT_EQ(printer->report(), nullptr);
    menu->action(QStringLiteral("tbrPrint"))->trigger();
    CommissionSlipReport *first = printer->report();
    ASSERT_NE(first, nullptr);
    menu->action(QStringLiteral("tbrPrint"))->trigger();
    EXPECT_EQ(printer->report(), first);
}

TEST_F(PrintCommand, PreviewWindowShowsTheSlipPage)
{
    printer->setShowStep({});
    menu->action(QStringLiteral("tbrPrint"))->trigger();
    ReportPreview *preview = printer->preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->objectName(), QStringLiteral("ActiveReport4"));
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->isModal());
    EXPECT_EQ(preview->pageCount(), 1);
    EXPECT_EQ(ReportRead::textOf(preview->document(), QStringLiteral("Field38")),
              QStringLiteral("SMITH"));

    // A second print reuses the window.
    menu->action(QStringLiteral("tbrPrint"))->trigger();
    EXPECT_EQ(printer->preview(), preview);
    preview->close();
}

} // namespace
