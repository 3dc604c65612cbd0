#include "dashboard_items.h"

#include "common/prompts.h"
#include "raw_sqlite.h"
#include "reports/dashboard_figures.h"
#include "reports/ui/dashboard_window.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cstdio>
#include <map>
#include <vector>

namespace {

class SilentPrompts : public Prompts
{
public:
    std::optional<QString> saveFile(const SaveFile &) override { return std::nullopt; }

protected:
    Answer showMessage(const Message &message) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(message.text));
        return Answer::Ok;
    }
    std::optional<QString> showInput(const Input &) override { return std::nullopt; }
};

// Shown and painted, as the desktop paints a window it has just shown.
void paint(QWidget &window)
{
    window.show();
    QApplication::processEvents();
    window.grab();
}

// --- The floor's values ----------------------------------------------------

struct Counted
{
    sqlite3_int64 units = 0;
    sqlite3_int64 gross = 0;
};

struct FloorFigures
{
    std::map<std::string, Counted> people; // the period's month
    std::vector<Counted> months = std::vector<Counted>(12);
    sqlite3_int64 paid = 0;
};

std::string iso(const QDate &date)
{
    return date.toString(Qt::ISODate).toStdString();
}

// The dashboard's own statement, bound as the window binds it.
void bindCounted(RawStatement &statement, const QDate &first, const QDate &last)
{
    for (int at : {1, 4, 7}) {
        statement.bindText(at, iso(first));
        statement.bindText(at + 1, iso(last));
    }
    statement.bindText(3, "Chargeback");
    statement.bindText(6, "Chargeback");
}

std::string counted(const char *soldKey, const char *unwoundKey)
{
    return DashboardFigures::countedStatement(QString::fromLatin1(soldKey),
                                              QString::fromLatin1(unwoundKey))
        .toStdString();
}

std::string text(sqlite3_stmt *row, int column)
{
    return reinterpret_cast<const char *>(sqlite3_column_text(row, column));
}

FloorFigures readFloor(sqlite3 *db, const QDate &today)
{
    const QDate first(today.year(), today.month(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    const QDate firstMonth = first.addMonths(-11);
    FloorFigures figures;
    RawStatement people(db, counted("s.\"Sales_Person\"", "s.\"Sales_Person\""));
    bindCounted(people, first, last);
    while (people.step()) {
        Counted &person = figures.people[text(people.get(), 0)];
        person.units += sqlite3_column_int64(people.get(), 1);
        person.gross += sqlite3_column_int64(people.get(), 2);
    }
    RawStatement days(db, counted("s.\"Date\"", "u.\"UnwoundOn\""));
    bindCounted(days, firstMonth, last);
    while (days.step()) {
        const std::string day = text(days.get(), 0);
        const int index = (std::stoi(day.substr(0, 4)) - firstMonth.year()) * 12 +
                          std::stoi(day.substr(5, 2)) - firstMonth.month();
        figures.months[size_t(index)].units += sqlite3_column_int64(days.get(), 1);
        figures.months[size_t(index)].gross += sqlite3_column_int64(days.get(), 2);
    }
    RawStatement paid(db, DashboardFigures::commissionPaidStatement().toStdString());
    paid.bindText(1, iso(first));
    paid.bindText(2, iso(last.addDays(1)));
    if (paid.step())
        figures.paid = sqlite3_column_int64(paid.get(), 0);
    // Each salesperson's plan in force, for the tier progress.
    RawStatement plan(db, "SELECT * FROM \"PayPlanVersions\" WHERE \"SalesPerson\" = ? AND "
                          "\"EffectiveFrom\" <= ? ORDER BY \"EffectiveFrom\" DESC LIMIT 1");
    for (const auto &[name, counted] : figures.people) {
        plan.bindText(1, name);
        plan.bindText(2, iso(today));
        while (plan.step()) {
        }
        plan.reset();
    }
    return figures;
}

double shown(sqlite3_int64 units)
{
    return double(units) / 10000;
}

QChart *floorBars(const FloorFigures &figures, bool gross)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    auto *set = new QBarSet(QString());
    QStringList names;
    double most = 0;
    for (const auto &[name, counted] : figures.people) {
        const double value = shown(gross ? counted.gross : counted.units);
        *set << value;
        names << QString::fromStdString(name);
        most = std::max(most, value);
    }
    auto *series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto *categories = new QBarCategoryAxis;
    categories->append(names);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto *values = new QValueAxis;
    values->setRange(0, most * 1.1);
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    return chart;
}

QChart *floorLines(const FloorFigures &figures, const QDate &firstMonth)
{
    auto *chart = new QChart;
    auto *units = new QLineSeries;
    auto *gross = new QLineSeries;
    QStringList months;
    double mostUnits = 0, mostGross = 0;
    for (int n = 0; n < 12; ++n) {
        units->append(n, shown(figures.months[size_t(n)].units));
        gross->append(n, shown(figures.months[size_t(n)].gross));
        months << firstMonth.addMonths(n).toString(QStringLiteral("MMM yy"));
        mostUnits = std::max(mostUnits, shown(figures.months[size_t(n)].units));
        mostGross = std::max(mostGross, shown(figures.months[size_t(n)].gross));
    }
    chart->addSeries(units);
    chart->addSeries(gross);
    auto *axis = new QBarCategoryAxis;
    axis->append(months);
    chart->addAxis(axis, Qt::AlignBottom);
    units->attachAxis(axis);
    gross->attachAxis(axis);
    auto *unitsAxis = new QValueAxis;
    unitsAxis->setRange(0, mostUnits * 1.1);
    chart->addAxis(unitsAxis, Qt::AlignLeft);
    units->attachAxis(unitsAxis);
    auto *grossAxis = new QValueAxis;
    grossAxis->setRange(0, mostGross * 1.1);
    chart->addAxis(grossAxis, Qt::AlignRight);
    gross->attachAxis(grossAxis);
    return chart;
}

// The window's widgets, filled from the floor's values.
void floorWindow(const FloorFigures &figures, const QDate &today)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Show:")));
    auto *period = new QComboBox;
    period->addItems({QStringLiteral("Month"), QStringLiteral("Year")});
    bar->addWidget(period);
    bar->addWidget(new QDateEdit(today));
    bar->addWidget(new QPushButton(QStringLiteral("Save as PNG…")));
    bar->addWidget(new QPushButton(QStringLiteral("Save as PDF…")));
    layout->addLayout(bar);
    auto *figuresRow = new QHBoxLayout;
    Counted total;
    for (const auto &[name, counted] : figures.people) {
        total.units += counted.units;
        total.gross += counted.gross;
    }
    figuresRow->addWidget(new QLabel(QStringLiteral("Units: %1").arg(shown(total.units))));
    figuresRow->addWidget(new QLabel(QStringLiteral("Front gross: %1").arg(shown(total.gross))));
    figuresRow->addWidget(new QLabel(
        QStringLiteral("Gross per unit: %1")
            .arg(total.units ? double(total.gross) / double(total.units) : 0.0)));
    figuresRow->addWidget(new QLabel(QStringLiteral("Commission paid: %1").arg(shown(figures.paid))));
    layout->addLayout(figuresRow);
    auto *grid = new QGridLayout;
    grid->addWidget(new QChartView(floorBars(figures, false)), 0, 0);
    grid->addWidget(new QChartView(floorBars(figures, true)), 0, 1);
    grid->addWidget(new QChartView(floorLines(figures, QDate(today.year(), today.month(), 1)
                                                           .addMonths(-11))),
                    1, 0);
    auto *list = new QTableWidget(int(figures.people.size()), 4);
    int row = 0;
    for (const auto &[name, counted] : figures.people) {
        list->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(name)));
        list->setItem(row, 1, new QTableWidgetItem(QString::number(shown(counted.units))));
        list->setItem(row, 2, new QTableWidgetItem(QString::number(shown(counted.gross))));
        list->setItem(row++, 3, new QTableWidgetItem(QString()));
    }
    list->resizeColumnsToContents();
    grid->addWidget(list, 1, 1);
    layout->addLayout(grid, 1);
    window.resize(1000, 720);
    paint(window);
}

} // namespace

void dashboardOpen(benchmark::State &state, DealDatabase &database, const QDate &today)
{
    SilentPrompts prompts;
    for (auto _ : state) {
        DashboardWindow window(database, prompts, today);
        paint(window);
        if (!window.figures())
            state.SkipWithError("the dashboard's figures could not be read");
    }
}

void dashboardFloor(benchmark::State &state, const std::string &databasePath, const QDate &today)
{
    RawDatabase database(databasePath);
    for (auto _ : state)
        floorWindow(readFloor(database.get(), today), today);
}
