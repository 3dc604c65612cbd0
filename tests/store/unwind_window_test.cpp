// The Unwind Deal window: the reason and the part chosen, the unwind done
// or refused in the user's words.
#include "scripted_prompts.h"
#include "store/deal_store.h"
#include "store/ui/unwind_window.h"
#include "store_test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class UnwindWindowTest : public StoreTest
{
protected:
    std::unique_ptr<UnwindWindow> windowFor(DealId deal)
    {
        auto window = std::make_unique<UnwindWindow>(*m_database, m_prompts, deal,
                                                     m_store->fingerprint(deal), QStringLiteral("Stock # 5005"));
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setToday(QDate(2026, 4, 2));
        return window;
    }
    template <typename T> T *control(QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    ScriptedPrompts m_prompts;
};

TEST_F(UnwindWindowTest, APartOfAPaidDealIsChargedBackAndAnEmptyReasonIsRefused)
{
    const DealId deal = saved(dealFor(QStringLiteral("5005"), QStringLiteral("Åsa Öberg")));
    execute(*m_database, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1"));

    auto first = windowFor(deal);
    control<QComboBox>(*first, "cboReason")->setCurrentText(QStringLiteral("Other"));
    control<QRadioButton>(*first, "optAmount")->setChecked(true);
    control<QLineEdit>(*first, "txtAmount")->setText(QStringLiteral("$1,300.00"));
    m_prompts.expectMessage(QStringLiteral("The deal was not unwound.\n\nGive the reason the deal "
                                           "is unwound."),
                            QStringLiteral("Unwind Deal"), Prompts::Icon::Warning,
                            Prompts::Buttons::Ok);
    QTest::mouseClick(control<QPushButton>(*first, "cmdUnwind"), Qt::LeftButton);
    control<QLineEdit>(*first, "txtReason")->setText(QStringLiteral("goodwill"));
    m_prompts.expectMessage(QStringLiteral("The deal was not unwound.\n\nA chargeback of $1,300.00 "
                                           "is more than the $1,250.00 of this deal's $1,250.00 "
                                           "paid that is still open to be charged back."),
                            QStringLiteral("Unwind Deal"), Prompts::Icon::Warning,
                            Prompts::Buttons::Ok);
    QTest::mouseClick(control<QPushButton>(*first, "cmdUnwind"), Qt::LeftButton);
    m_prompts.verify();

    control<QRadioButton>(*first, "optWarranty")->setChecked(true);
    m_prompts.expectMessage(QStringLiteral("The deal was unwound.\nJOHN SMITH is charged back "
                                           "$30.00 on the next sheet."),
                            QStringLiteral("Unwind Deal"), Prompts::Icon::Information,
                            Prompts::Buttons::Ok);
    QTest::mouseClick(control<QPushButton>(*first, "cmdUnwind"), Qt::LeftButton);
    m_prompts.verify();
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT \"Reason\" FROM \"Unwinds\"")).toString(),
              QStringLiteral("Other: goodwill"));
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT \"UnwoundOn\" FROM \"Unwinds\"")).toString(),
              QStringLiteral("2026-04-02"));
}

} // namespace
