#include "reports/commission_slip_report.h"

#include "common/money.h"
#include "common/money_format.h"
#include "pay/split_share.h"
#include "reports/commission_slip_layout.h"
#include "reports/report_renderer.h"
#include "worksheet/deal.h"

namespace {

const char *const kReductionItems[Deal::kRows] = {"Field11", "Field12", "Field13", "Field14",
                                                  "Field15"};
const char *const kReductionAmounts[Deal::kRows] = {"Field6", "Field7", "Field8", "Field9",
                                                    "Field10"};
const char *const kAdditionItems[Deal::kRows] = {"Field21", "Field22", "Field23", "Field24",
                                                 "Field25"};
const char *const kAdditionAmounts[Deal::kRows] = {"Field16", "Field17", "Field18", "Field19",
                                                   "Field20"};

// An amount as the slip shows it: the "Currency" form of a number; empty
// text, and text that is not a number, unchanged.
QString currencyText(const QString &text)
{
    const std::optional<Money> value = MoneyText::parse(text);
    return value ? MoneyFormat::currency(*value) : text;
}

// "Split = " and each salesperson's part of the total commission, as their
// SalesSummary rows keep it: one amount when the two are equal, else the
// first salesperson's and the partner's ("Split = $750.00 / $500.00"). A total
// that is empty or not a number, or a share that is no share, has no part to
// show: the line then reads "Split = " alone.
QString splitLine(const QString &totalCommission, const QString &shareText)
{
    const std::optional<Money> total = MoneyText::parse(totalCommission);
    const std::optional<int> share = SplitShare::parse(shareText);
    if (!total || !share)
        return QStringLiteral("Split = ");
    const auto [first, second] = SplitShare::divide(*total, *share);
    QString parts = MoneyFormat::currency(first);
    if (first != second)
        parts += QStringLiteral(" / ") + MoneyFormat::currency(second);
    return QStringLiteral("Split = ") + parts;
}

} // namespace

CommissionSlipReport::CommissionSlipReport() : m_layout(commissionSlipLayout())
{
    m_layout.section(QStringLiteral("Detail"))->setBeforePrint([this](ReportSection &detail) {
        Detail_BeforePrint(detail);
    });
}

void CommissionSlipReport::fill(const Deal &deal)
{
    setText("Field1", deal.salesPerson.toUpper());
    setText("Field5", deal.stockNumber.toUpper());
    setText("Field4", deal.saleType.toUpper());
    setText("Field2", currencyText(deal.sellingPrice));
    setText("Field28", currencyText(deal.pack));
    setText("Field3", currencyText(deal.cost));
    setText("Field30", deal.commissionRate);
    for (int row = 0; row < Deal::kRows; ++row)
        setText(kReductionItems[row], deal.reductionDescriptions.at(row));
    for (int row = 0; row < Deal::kRows; ++row)
        setText(kReductionAmounts[row], currencyText(deal.reductionAmounts.at(row)));
    for (int row = 0; row < Deal::kRows; ++row)
        setText(kAdditionItems[row], deal.additionDescriptions.at(row));
    for (int row = 0; row < Deal::kRows; ++row)
        setText(kAdditionAmounts[row], currencyText(deal.additionAmounts.at(row)));
    setText("Field26", currencyText(deal.appraisal));
    setText("Field27", currencyText(deal.allowance));
    setText("Field29", currencyText(deal.payableGross));
    setText("Field31", currencyText(deal.commission));
    setText("Field32", currencyText(deal.warranty));
    setText("Field33", currencyText(deal.spiff));
    setText("Field34", currencyText(deal.totalCommission));
    setText("Field35", deal.splitPartner.toUpper());
    setText("Field37", deal.tradeStock.toUpper());
    setText("Field38", deal.customer.toUpper());

    setSplitShown(deal.split);
    setText("Field36", deal.split ? splitLine(deal.totalCommission, deal.splitShare) : QString());

    m_underAllow = deal.underAllow;
    m_overAllow = deal.overAllow;
}

ReportDocument CommissionSlipReport::run()
{
    return ReportRenderer(m_layout).runOnce();
}

void CommissionSlipReport::Detail_BeforePrint(ReportSection &detail)
{
    // Set on every print, so the caption of an earlier deal never stays.
    QString caption = QStringLiteral("OVER/UNDER ALLOWANCE:");
    if (m_underAllow)
        caption = QStringLiteral("UNDER ALLOWANCE");
    else if (m_overAllow)
        caption = QStringLiteral("OVER ALLOWANCE");
    detail.control(QStringLiteral("Label20"))->setCaption(caption);
}

void CommissionSlipReport::setText(const char *field, const QString &text)
{
    m_layout.control(QString::fromLatin1(field))->setText(text);
}

void CommissionSlipReport::setSplitShown(bool shown)
{
    for (const char *name : kSlipSplitControls)
        m_layout.control(QString::fromLatin1(name))->setVisible(shown);
}
