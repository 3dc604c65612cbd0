#include "admin/ui/about_window.h"

#include "admin/ui/program_icon.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *makeLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QFrame *makeLine(const QString &name, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

AboutWindow::AboutWindow(const QString &dataFolder, const QString &databaseNote, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Tarvex"));
    setWindowIcon(ProgramIcon::icon());
    setModal(false);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(ProgramIcon::pixmap(48));
    icon->setAlignment(Qt::AlignTop);

    QLabel *title = makeLabel(QStringLiteral("lblTitle"), QStringLiteral("Tarvex5"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(makeLabel(QStringLiteral("lblVersion"), QStringLiteral("Version:  2.5"), this));
    text->addWidget(makeLabel(
        QStringLiteral("Label1"),
        QStringLiteral("A tool for automotive sales managers to calculate sales commissions "
                       "and print out commission slips and sales logs."),
        this));

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(makeLine(QStringLiteral("Line1_0"), this));
    layout->addWidget(makeLabel(
        QStringLiteral("lblDisclaimer"),
        QStringLiteral("Made for the sales office of a car and truck dealership. Check every "
                       "commission against the deal before paying it."),
        this));
    QLabel *folder = makeLabel(
        QStringLiteral("lblDataFolder"),
        QStringLiteral("Tarvex keeps its database and settings files in:\n%1")
            .arg(QDir::toNativeSeparators(dataFolder)),
        this);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(folder);
    if (!databaseNote.isEmpty()) {
        QLabel *database = makeLabel(QStringLiteral("lblDatabase"), databaseNote, this);
        database->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(database);
    }
    layout->addWidget(makeLine(QStringLiteral("Line1_1"), this));
    layout->addLayout(buttons);
    setMinimumWidth(380);
}
