// Times the program's own start-up, from the login window shown and answered
// to a worksheet shown, painted and cleared to a new deal, against its floor:
// a plain Qt program that reads the same files, opens the same database,
// shows and answers a login dialog of the same widgets, and builds the
// worksheet's widget tree (the same classes in the same numbers: the menus,
// the toolbar, the combos, every field) and paints it once. Both print their
// count of widgets, by class, and the run checks they agree. Each start is a
// process of its own, timed from its launch to its end once the window is
// painted and no event is left waiting; the starts' own CPU time is counted
// beside.
#include "figure_table.h"

#include "app/tarvex_program.h"
#include "common/prompts.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>
#include <sodium.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include <sys/resource.h>

namespace {

const char *const kSettingsFiles[] = {"dp.dat", "dc.dat", "war.txt", "mini.txt", "unit.txt"};
const char *const kPassword = "sesame";

// Chooses the password "sesame" when asked (the first start only); every
// other question ends the run.
class LoginAnswers : public Prompts
{
public:
    std::optional<QString> saveFile(const SaveFile &) override { return std::nullopt; }

protected:
    Answer showMessage(const Message &message) override
    {
        qFatal("unexpected message: %s", qPrintable(message.text));
    }
    std::optional<QString> showInput(const Input &) override
    {
        return QString::fromLatin1(kPassword);
    }
};

// Notes that a window has been painted, and answers the login dialog
// ("frmLogin") once it has been painted, as the user would: the password
// typed, OK pressed.
class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return QObject::eventFilter(watched, event);
        auto *widget = static_cast<QWidget *>(watched);
        QWidget *window = widget->window();
        if (window->objectName() == QLatin1String("frmLogin")) {
            if (!m_answered) {
                m_answered = true;
                QTimer::singleShot(0, window, [window] {
                    window->findChild<QLineEdit *>(QStringLiteral("txtPassword"))
                        ->setText(QString::fromLatin1(kPassword));
                    window->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
                });
            }
        } else {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_answered = false;
};

PaintWatch *g_watch = nullptr;

// The widgets alive, by the Qt class each is or is made from: "QLabel 40,
// QLineEdit 30, ...".
QString widgetCount()
{
    std::map<QString, int> byClass;
    const QWidgetList widgets = QApplication::allWidgets();
    for (const QWidget *widget : widgets) {
        const QMetaObject *meta = widget->metaObject();
        while (meta->superClass() && !QByteArray(meta->className()).startsWith('Q'))
            meta = meta->superClass();
        ++byClass[QString::fromLatin1(meta->className())];
    }
    QStringList parts;
    for (const auto &[name, count] : byClass)
        parts << QStringLiteral("%1 %2").arg(name).arg(count);
    return QStringLiteral("%1 widgets: %2").arg(widgets.size()).arg(parts.join(QStringLiteral(", ")));
}

// The start is over once the window is shown and painted and no event is left
// waiting; both kinds of start end at this same point. The process ends here,
// so that closing the windows is not timed as part of starting. The widget
// count goes to the standard output.
[[noreturn]] void readyToWork()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (int round = 0; round < 1000 && !g_watch->painted; ++round)
        QApplication::processEvents();
    // Events posted while painting, until a round finds nothing to do.
    for (int round = 0; round < 1000 && dispatcher->processEvents(QEventLoop::AllEvents); ++round) {
    }
    std::printf("%s\n", qPrintable(widgetCount()));
    std::fflush(nullptr);
    std::_Exit(g_watch->painted ? 0 : 2);
}

// The floor's login: a plain dialog of the login window's widgets, its
// password field masked by the same style sheet, closed by OK when the
// password typed matches the one user's Argon2id hash, checked as the
// program checks it.
bool plainLogin(const QByteArray &hash)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("frmLogin"));
    dialog.setWindowTitle(QStringLiteral("Login"));
    auto *user = new QLineEdit(QStringLiteral("SalesManager"), &dialog);
    auto *typed = new QLineEdit(&dialog);
    typed->setObjectName(QStringLiteral("txtPassword"));
    typed->setEchoMode(QLineEdit::Password);
    typed->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("&User Name:"), &dialog), 0, 0);
    grid->addWidget(user, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("&Password:"), &dialog), 1, 0);
    grid->addWidget(typed, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(new QPushButton(QStringLiteral("Cancel"), &dialog));
    buttons->addWidget(new QPushButton(QStringLiteral(" Change Password"), &dialog));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        const QByteArray password = typed->text().toUtf8();
        if (crypto_pwhash_str_verify(hash.constData(), password.constData(),
                                     quint64(password.size())) == 0)
            dialog.accept();
    });
    typed->setFocus();
    return dialog.exec() == QDialog::Accepted;
}

// An editable combo as the worksheet has them: its own line edit, the items
// given.
QComboBox *plainCombo(QWidget *parent, const QStringList &items)
{
    auto *combo = new QComboBox(parent);
    combo->setLineEdit(new QLineEdit(combo));
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

QLabel *boldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// Five rows of a combo and an amount under a heading, in a panel.
QFrame *amountPanel(QWidget *parent, const QString &heading)
{
    auto *panel = new QFrame(parent);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(panel);
    grid->addWidget(boldLabel(heading, panel), 0, 0, 1, 2);
    for (int row = 1; row <= 5; ++row) {
        grid->addWidget(plainCombo(panel, {QStringLiteral("Dealer Cash")}), row, 0);
        grid->addWidget(new QLineEdit(panel), row, 1);
    }
    return panel;
}

// The worksheet's widget tree built plainly: the same menus and items, the
// toolbar of nine buttons with its Setup menu, and every label, field,
// combo, button and panel of the worksheet.
QMainWindow *plainWorksheet(const QStringList &salesPeople, const QStringList &units)
{
    auto *window = new QMainWindow;
    window->setWindowTitle(QStringLiteral("Tarvex"));
    const auto menu = [](QMenu *into, const QStringList &items) {
        for (const QString &item : items)
            into->addAction(item);
    };
    QMenuBar *bar = window->menuBar();
    menu(bar->addMenu(QStringLiteral("&File")),
         {QStringLiteral("&Save"), QStringLiteral("&Print"), QStringLiteral("&Exit")});
    menu(bar->addMenu(QStringLiteral("&Edit")),
         {QStringLiteral("SalesLog Database"), QStringLiteral("SalesSummary Database"),
          QStringLiteral("Audit Trail")});
    QMenu *setup = bar->addMenu(QStringLiteral("&Setup"));
    menu(setup, {QStringLiteral("Add/Delete Salesperson"), QStringLiteral("Default Pack"),
                 QStringLiteral("Default Commmission"), QStringLiteral("Default Warranty Spiff"),
                 QStringLiteral("Default Mini Deal")});
    menu(setup->addMenu(QStringLiteral("Unit Discription")),
         {QStringLiteral("Add Unit"), QStringLiteral("Delete Unit")});
    menu(setup, {QStringLiteral("Pay Plans\u2026"), QStringLiteral("Users\u2026")});
    menu(bar->addMenu(QStringLiteral("&Help")),
         {QStringLiteral("Contents...."), QStringLiteral("About Tarvex")});

    auto *tools = new QToolBar(QStringLiteral("Toolbar"), window);
    tools->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tools->setMovable(false);
    window->addToolBar(Qt::TopToolBarArea, tools);
    const std::pair<QStyle::StandardPixmap, const char *> buttons[] = {
        {QStyle::SP_DialogSaveButton, "&Save"},
        {QStyle::SP_DialogApplyButton, "&Calculate"},
        {QStyle::SP_FileDialogContentsView, "&Reports"},
        {QStyle::SP_FileIcon, "&Print Commision"},
        {QStyle::SP_DialogResetButton, "&Clear Form"},
        {QStyle::SP_DialogOpenButton, "Recall &Deal"},
        {QStyle::SP_ComputerIcon, "Setup"},
        {QStyle::SP_DialogCloseButton, "E&xit"},
        {QStyle::SP_DialogHelpButton, "Help"}};
    for (const auto &[icon, caption] : buttons) {
        QAction *action =
            tools->addAction(window->style()->standardIcon(icon), QString::fromLatin1(caption));
        if (QByteArray(caption) == "Setup") {
            auto *setupMenu = new QMenu(window);
            menu(setupMenu, {QStringLiteral("Add/Delete SalesPerson"),
                             QStringLiteral("Default Pack"), QStringLiteral("Default Commission"),
                             QStringLiteral("Default Warranty Spiff"),
                             QStringLiteral("Default Mini Deal"),
                             QStringLiteral("Add Unit Discription"),
                             QStringLiteral("Delete Unit Description")});
            action->setMenu(setupMenu);
            qobject_cast<QToolButton *>(tools->widgetForAction(action))
                ->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }

    auto *area = new QScrollArea(window);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    window->setCentralWidget(area);
    auto *central = new QWidget;
    auto *page = new QVBoxLayout(central);
    QLabel *title = boldLabel(QStringLiteral("COMMISSION CALCULATOR"), central);
    title->setAlignment(Qt::AlignCenter);
    page->addWidget(title);

    auto *header = new QHBoxLayout;
    auto *date = new QDateEdit(central);
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    date->setDate(QDate::currentDate());
    for (QWidget *w : QWidgetList{new QLabel(QStringLiteral("Date:"), central), date,
                                  new QLabel(QStringLiteral("Salesperson:"), central),
                                  plainCombo(central, salesPeople),
                                  new QLabel(QStringLiteral("Customer Name:"), central),
                                  new QLineEdit(central)})
        header->addWidget(w);
    page->addLayout(header);

    auto *vehicle = new QGridLayout;
    const QStringList vehicleLabels = {"Stock#", "Year", "Unit:", "T/C/U:", "Sale Type:",
                                       "Selling Price:", "Cost/ACV:"};
    for (int column = 0; column < vehicleLabels.size(); ++column) {
        vehicle->addWidget(new QLabel(vehicleLabels.at(column), central), 0, column);
        QWidget *field = column >= 1 && column <= 4
                             ? static_cast<QWidget *>(plainCombo(central, column == 2 ? units : QStringList{}))
                             : new QLineEdit(central);
        vehicle->addWidget(field, 1, column);
    }
    auto *unitPanel = new QFrame(central);
    auto *unitLayout = new QVBoxLayout(unitPanel);
    auto *unitList = new QListWidget(unitPanel);
    unitList->addItems(units);
    unitLayout->addWidget(unitList);
    unitLayout->addWidget(new QPushButton(QStringLiteral("Remove"), unitPanel));
    unitLayout->addWidget(new QPushButton(QStringLiteral("Exit"), unitPanel));
    unitPanel->hide();
    page->addLayout(vehicle);

    auto *middle = new QHBoxLayout;
    middle->addWidget(amountPanel(central, QStringLiteral("Reductions to cost:")));
    middle->addWidget(amountPanel(central, QStringLiteral("Additions to cost:")));
    auto *trade = new QFrame(central);
    trade->setFrameShape(QFrame::StyledPanel);
    auto *tradeGrid = new QGridLayout(trade);
    tradeGrid->addWidget(boldLabel(QStringLiteral("Trade Information"), trade), 0, 0, 1, 2);
    int row = 1;
    for (const char *label : {"Appraisal: (ACV)", "T/I Stock #", "Over/Under Allow:"}) {
        tradeGrid->addWidget(new QLabel(QString::fromLatin1(label), trade), row, 0);
        tradeGrid->addWidget(new QLineEdit(trade), row++, 1);
    }
    tradeGrid->addWidget(new QRadioButton(QStringLiteral("Over Allow"), trade), row, 0);
    tradeGrid->addWidget(new QRadioButton(QStringLiteral("Under Allow"), trade), row, 1);
    middle->addWidget(trade);
    page->addLayout(middle);

    auto *figures = new QFrame(central);
    figures->setFrameShape(QFrame::StyledPanel);
    auto *bottom = new QGridLayout(figures);
    const QStringList figureLabels = {"Pack", "Commission Rate:", "", "Payable   Gross",
                                      "Commission:", "Warranty:", "Spiff:", "Total Comm"};
    for (int column = 0; column < figureLabels.size(); ++column) {
        if (figureLabels.at(column).isEmpty()) {
            bottom->addWidget(new QCheckBox(QStringLiteral("Warranty"), figures), 1, column);
            continue;
        }
        bottom->addWidget(new QLabel(figureLabels.at(column), figures), 0, column);
        bottom->addWidget(new QLineEdit(figures), 1, column);
    }
    // The marks of a pack or rate typed over the pay plan's, hidden.
    for (int column = 0; column < 2; ++column) {
        auto *mark = new QLabel(QStringLiteral("typed"), figures);
        mark->hide();
        bottom->addWidget(mark, 2, column);
    }
    page->addWidget(figures);

    auto *actions = new QHBoxLayout;
    auto *split = new QPushButton(QStringLiteral("No"), central);
    split->setCheckable(true);
    for (QWidget *w : QWidgetList{new QLabel(QStringLiteral("Split?"), central), split,
                                  new QLabel(QStringLiteral("Split with:"), central),
                                  plainCombo(central, salesPeople),
                                  new QLabel(QStringLiteral("S&hare %:"), central),
                                  new QLineEdit(QStringLiteral("50"), central)})
        actions->addWidget(w);
    for (const char *caption : {"PRINT", "Calculate", "CLEAR", "Delete Record"})
        actions->addWidget(new QPushButton(QString::fromLatin1(caption), central));
    auto *hidden = new QFrame(central);
    new QRadioButton(hidden);
    hidden->hide();
    actions->addWidget(hidden);
    page->addWidget(boldLabel(QStringLiteral("This deal has been \"PAID\" and cannot be changed!"),
                              central));
    page->addLayout(actions);
    page->addStretch();
    area->setWidget(central);
    return window;
}

// The one user's password hash, as the database keeps it; read as plainly
// as the program reads it, through the SQLite driver.
QByteArray passwordHash(const QString &folder)
{
    const QString name = QStringLiteral("floor-users");
    QByteArray hash;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(folder + QStringLiteral("/Sales Log2.mdb"));
        QSqlQuery query(db);
        if (db.open() &&
            query.exec(QStringLiteral("SELECT \"PasswordHash\" FROM \"Users\" ORDER BY \"UserId\" "
                                      "LIMIT 1")) &&
            query.next())
            hash = query.value(0).toString().toLatin1();
    }
    QSqlDatabase::removeDatabase(name);
    return hash;
}

// One start in a process of its own, as the user starts the program: the
// application object, the login, the window and the files, then the process
// ends.
int childStart(const QString &kind, const QString &folder, int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    PaintWatch watch;
    g_watch = &watch;
    app.installEventFilter(&watch);
    if (kind == QLatin1String("program")) {
        LoginAnswers prompts;
        TarvexProgram program{ProgramFolder(folder), prompts};
        if (!program.start())
            return 1;
        readyToWork();
    }
    if (sodium_init() < 0 || !plainLogin(passwordHash(folder)))
        return 1;
    QByteArray settings;
    for (const char *name : kSettingsFiles) {
        QFile file(folder + u'/' + QString::fromLatin1(name));
        if (file.open(QIODevice::ReadOnly))
            settings += file.readAll();
    }
    QStringList units;
    for (const QByteArray &line : settings.split('\n'))
        units << QString::fromLatin1(line.trimmed()).remove(u'"');
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(folder + QStringLiteral("/Sales Log2.mdb"));
    if (!db.open())
        return 1;
    QStringList names;
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT Name FROM SalesPersons"));
    while (query.next())
        names << query.value(0).toString();
    QMainWindow *window = plainWorksheet(names, units);
    window->show();
    readyToWork();
}

QString g_folder;

// CPU time, user and system, of the finished starts so far.
double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The widget count each kind of start printed.
std::map<std::string, QString> g_counts;

void timedStarts(benchmark::State &state, const char *kind)
{
    double childCpuMs = 0;
    for (auto _ : state) {
        const double cpuBefore = childrenCpuMs();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--start-child"), QString::fromLatin1(kind), g_folder});
        if (!child.waitForFinished(60000) || child.exitCode() != 0)
            state.SkipWithError("a start failed");
        childCpuMs += childrenCpuMs() - cpuBefore;
        state.PauseTiming();
        g_counts[kind] = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
        state.ResumeTiming();
    }
    // The starts' own CPU time, shown in the table's CPU column.
    state.counters["child_cpu_ms"] =
        benchmark::Counter(childCpuMs, benchmark::Counter::kAvgIterations);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    if (argc == 4 && QByteArray(argv[1]) == "--start-child")
        return childStart(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), 1,
                          argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir folder;
    g_folder = folder.path();
    {
        // The first start makes the settings files and the database, and
        // chooses the password; every start after it shows the login window.
        QProcess first;
        first.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--start-child"), QStringLiteral("program"), g_folder});
        if (!first.waitForFinished(60000) || first.exitCode() != 0)
            qFatal("the first start failed");
    }
    for (const char *kind : {"program", "bare"}) {
        benchmark::RegisterBenchmark(kind[0] == 'p' ? "program/start-up" : "floor/start-up",
                                     [kind](benchmark::State &state) { timedStarts(state, kind); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10)
            ->Repetitions(3)
            ->DisplayAggregatesOnly(true)
            ->UseRealTime();
    }
    FigureTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    for (const char *kind : {"program", "bare"})
        std::printf("%-8s %s\n", kind[0] == 'p' ? "program" : "floor", qPrintable(g_counts[kind]));
    const bool same = !g_counts["program"].isEmpty() && g_counts["program"] == g_counts["bare"];
    std::printf("widget trees %s\n", same ? "alike" : "NOT alike: the floor is not the same work");
    const bool met = table.printTable(
        {{"start-up to a ready worksheet", "program/start-up", "floor/start-up", 0, 1.2, false},
         {"start-up, the starts' CPU", "program/start-up", "floor/start-up", 0, 1.2, true}});
    std::printf("%s\n", met && same ? "every goal met" : "goals not all met");
    benchmark::Shutdown();
    return 0;
}
