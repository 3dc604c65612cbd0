#include "reports/ui/dashboard_charts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFont>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <functional>

namespace DashboardCharts {

namespace {

// Where Qt Charts places a figure: the one place an amount leaves Money,
// as the chart takes positions as qreal. Every figure, least and most is
// worked out in Money before it.
qreal plotted(Money value)
{
    return qreal(value.units()) / qreal(Money::kScale);
}

// A value axis from 0 (or below, for a negative figure) to a tenth above
// the largest.
QValueAxis *valueAxis(const QString &title, Money least, Money most, const QString &format)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    const Money top = most > Money() ? most + Money::fromUnits(most.units() / 10) : Money::dollars(1);
    axis->setRange(plotted(std::min(Money(), least)), plotted(top));
    axis->applyNiceNumbers();
    axis->setLabelFormat(format);
    return axis;
}

// The names or months under the bars and lines, small enough to be read
// whole, turned aslant when they are too long to stand side by side.
QBarCategoryAxis *categoryAxis(const QStringList &names)
{
    auto *axis = new QBarCategoryAxis;
    axis->append(names);
    QFont font = axis->labelsFont();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    axis->setLabelsFont(font);
    if (names.join(QString()).size() > 40)
        axis->setLabelsAngle(-45);
    return axis;
}

QChart *bars(const DashboardFigures &figures, const QString &title, const QString &format,
             const std::function<Money(const DashboardFigures::SalesPerson &)> &figure)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    auto *set = new QBarSet(title);
    QStringList names;
    Money least;
    Money most;
    for (const DashboardFigures::SalesPerson &person : figures.salesPeople) {
        const Money value = figure(person);
        *set << plotted(value);
        names << person.name;
        least = std::min(least, value);
        most = std::max(most, value);
    }
    auto *series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    QBarCategoryAxis *categories = categoryAxis(names);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    QValueAxis *values = valueAxis(title, least, most, format);
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    return chart;
}

} // namespace

QChart *unitsBars(const DashboardFigures &figures)
{
    return bars(figures, QStringLiteral("Units"), QStringLiteral("%.1f"),
                [](const DashboardFigures::SalesPerson &person) { return person.units; });
}

QChart *grossBars(const DashboardFigures &figures)
{
    return bars(figures, QStringLiteral("Front gross"), QStringLiteral("$%.0f"),
                [](const DashboardFigures::SalesPerson &person) { return person.gross; });
}

QChart *monthLines(const DashboardFigures &figures)
{
    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("The last 12 months"));
    auto *units = new QLineSeries;
    units->setName(QStringLiteral("Units"));
    auto *gross = new QLineSeries;
    gross->setName(QStringLiteral("Front gross"));
    QStringList months;
    Money leastUnits, mostUnits, leastGross, mostGross;
    for (int n = 0; n < figures.months.size(); ++n) {
        const DashboardFigures::Month &month = figures.months.at(n);
        const Money u = month.units;
        const Money g = month.gross;
        units->append(n, plotted(u));
        gross->append(n, plotted(g));
        months << month.month.toString(QStringLiteral("MMM"));
        leastUnits = std::min(leastUnits, u);
        mostUnits = std::max(mostUnits, u);
        leastGross = std::min(leastGross, g);
        mostGross = std::max(mostGross, g);
    }
    chart->addSeries(units);
    chart->addSeries(gross);
    QBarCategoryAxis *axis = categoryAxis(months);
    chart->addAxis(axis, Qt::AlignBottom);
    units->attachAxis(axis);
    gross->attachAxis(axis);
    QValueAxis *unitsAxis =
        valueAxis(QStringLiteral("Units"), leastUnits, mostUnits, QStringLiteral("%.0f"));
    chart->addAxis(unitsAxis, Qt::AlignLeft);
    units->attachAxis(unitsAxis);
    QValueAxis *grossAxis =
        valueAxis(QStringLiteral("Front gross"), leastGross, mostGross, QStringLiteral("$%.0f"));
    chart->addAxis(grossAxis, Qt::AlignRight);
    gross->attachAxis(grossAxis);
    return chart;
}

} // namespace DashboardCharts
