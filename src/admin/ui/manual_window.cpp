#include "admin/ui/manual_window.h"

#include "common/ui/bring_up.h"
#include "admin/ui/manual_fit.h"
#include "admin/ui/program_icon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QToolButton *makeButton(const QString &name, const QString &text, QStyle::StandardPixmap icon,
                        QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

QUrl urlOf(const QString &path)
{
    // Pages built into the program are read through the qrc scheme.
    return path.startsWith(u':') ? QUrl(QStringLiteral("qrc") + path) : QUrl::fromLocalFile(path);
}

} // namespace

ManualWindow::ManualWindow(Manual manual, QWidget *parent)
    : QWidget(parent, Qt::Window), m_manual(std::move(manual))
{
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Tarvex Manual"));
    setWindowIcon(ProgramIcon::icon());
    closeOnEscape(*this);

    m_back = makeButton(QStringLiteral("cmdBack"), QStringLiteral("Back"), QStyle::SP_ArrowBack,
                        this);
    m_forward = makeButton(QStringLiteral("cmdForward"), QStringLiteral("Forward"),
                           QStyle::SP_ArrowForward, this);
    QToolButton *contents = makeButton(QStringLiteral("cmdContents"), QStringLiteral("Contents"),
                                       QStyle::SP_DirHomeIcon, this);
    m_searchBox = new QLineEdit(this);
    m_searchBox->setObjectName(QStringLiteral("txtSearch"));
    m_searchBox->setPlaceholderText(QStringLiteral("Search the manual"));
    m_searchBox->setClearButtonEnabled(true);

    m_pages = new QListWidget(this);
    m_pages->setObjectName(QStringLiteral("lstPages"));
    // Titles are cut short to the list's width instead of scrolling sideways.
    m_pages->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pages->viewport()->installEventFilter(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtPage"));
    m_browser->setOpenExternalLinks(true);
    m_browser->viewport()->installEventFilter(this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(contents);
    bar->addStretch();
    bar->addWidget(m_searchBox, 1);

    auto *splitter = new QSplitter(this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(m_pages);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({270, 630});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    resize(920, 620);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
            [this](const QUrl &source) {
                markPage(pageOf(source));
                ManualFit::fitPictures(*m_browser);
            });
    connect(contents, &QToolButton::clicked, this, [this] {
        m_searchBox->clear();
        showPage(Manual::firstPage());
    });
    connect(m_searchBox, &QLineEdit::returnPressed, this,
            [this] { search(m_searchBox->text()); });
    connect(m_searchBox, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.isEmpty())
            search({});
    });
    connect(m_pages, &QListWidget::itemActivated, this, &ManualWindow::openItem);
    connect(m_pages, &QListWidget::itemClicked, this, &ManualWindow::openItem);

    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    listPages(m_manual.contents());
    showPage(Manual::firstPage());
}

bool ManualWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == m_browser->viewport())
            ManualFit::fitPictures(*m_browser);
        else if (watched == m_pages->viewport())
            ManualFit::elideTitles(*m_pages);
    }
    return QWidget::eventFilter(watched, event);
}

void ManualWindow::showPage(const QString &file)
{
    if (file == currentPage())
        return; // a click on the page shown adds nothing to the history
    m_browser->setSource(urlOf(m_manual.filePath(file)));
}

QString ManualWindow::currentPage() const
{
    return pageOf(m_browser->source());
}

QString ManualWindow::pageOf(const QUrl &source) const
{
    const QString path = source.scheme() == u"qrc" ? QStringLiteral(":") + source.path()
                                                   : source.toLocalFile();
    const QString prefix = m_manual.root() + u'/';
    return path.startsWith(prefix) ? path.mid(prefix.size()) : path;
}

void ManualWindow::search(const QString &words)
{
    if (words.trimmed().isEmpty()) {
        listPages(m_manual.contents());
        return;
    }
    const QList<Manual::Page> found = m_manual.search(words);
    listPages(found);
    if (found.isEmpty()) {
        auto *none = new QListWidgetItem(QStringLiteral("No page holds \"%1\".").arg(words.trimmed()),
                                         m_pages);
        none->setFlags(Qt::NoItemFlags);
        return;
    }
    m_pages->setCurrentRow(0);
    openItem(m_pages->item(0));
}

void ManualWindow::openItem(QListWidgetItem *item)
{
    const QString file = item->data(Qt::UserRole).toString();
    if (file.isEmpty())
        return;
    showPage(file);
    // A page found by a search opens at the first place the first word is.
    const QString word = m_searchBox->text().section(u' ', 0, 0, QString::SectionSkipEmpty);
    if (!word.isEmpty()) {
        m_browser->moveCursor(QTextCursor::Start);
        m_browser->find(word);
    }
}

void ManualWindow::listPages(const QList<Manual::Page> &pages)
{
    m_pages->clear();
    for (const Manual::Page &page : pages) {
        auto *item = new QListWidgetItem(page.title, m_pages);
        item->setData(Qt::UserRole, page.file);
    }
    ManualFit::elideTitles(*m_pages);
    markPage(currentPage());
}

void ManualWindow::markPage(const QString &page)
{
    for (int row = 0; row < m_pages->count(); ++row) {
        if (m_pages->item(row)->data(Qt::UserRole).toString() == page) {
            const QSignalBlocker blocker(m_pages);
            m_pages->setCurrentRow(row);
            return;
        }
    }
}
