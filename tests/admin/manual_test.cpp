// The manual: every page and picture it links to exists, both in the source
// folder that is installed and in the copy built into the program; its
// contents and search; the window's history and search box.
#include "admin/manual.h"
#include "admin/ui/manual_window.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QStringList titles(const QList<Manual::Page> &pages)
{
    QStringList result;
    for (const Manual::Page &page : pages)
        result << page.title;
    return result;
}

// Every link of every page of `root` that does not lead to an existing file.
QStringList brokenLinks(const QString &root)
{
    QStringList broken;
    const Manual manual(root);
    const QDir folder(root);
    const QStringList pages = folder.entryList({QStringLiteral("*.md")}, QDir::Files);
    for (const QString &page : pages) {
        for (const QString &link : Manual::links(manual.text(page))) {
            if (link.startsWith(u'#') || link.contains(QStringLiteral("://")))
                continue;
            if (!QFileInfo::exists(folder.filePath(link.section(u'#', 0, 0))))
                broken << page + QStringLiteral(" -> ") + link;
        }
    }
    return broken;
}

TEST(Manual, EveryLinkLeadsToAPageOrPictureThatExists)
{
    for (const QString &root : {QStringLiteral(TARVEX_MANUAL_SOURCE_DIR), Manual::builtInRoot()}) {
        ASSERT_TRUE(QFileInfo::exists(root + QStringLiteral("/index.md"))) << root.toStdString();
        EXPECT_EQ(brokenLinks(root), QStringList()) << root.toStdString();
        // Every page is reached from the contents.
        const QStringList pages = QDir(root).entryList({QStringLiteral("*.md")}, QDir::Files);
        EXPECT_EQ(Manual(root).contents().size(), pages.size()) << root.toStdString();
    }
}

TEST(Manual, TheBuiltInCopyHoldsEveryFileOfTheSourceFolder)
{
    const QDir source(QStringLiteral(TARVEX_MANUAL_SOURCE_DIR));
    for (const QString &sub : {QString(), QStringLiteral("images")}) {
        const QStringList files = QDir(source.filePath(sub)).entryList(QDir::Files);
        EXPECT_EQ(QDir(Manual::builtInRoot() + u'/' + sub).entryList(QDir::Files), files);
    }
}

TEST(Manual, ContentsFollowTheFirstPageAndSearchFindsEveryWord)
{
    const Manual manual;
    const QList<Manual::Page> contents = manual.contents();
    ASSERT_GE(contents.size(), 3);
    EXPECT_EQ(contents[0].file, QStringLiteral("index.md"));
    EXPECT_EQ(contents[0].title, QStringLiteral("Tarvex Manual"));
    EXPECT_EQ(contents[1].file, QStringLiteral("first-start.md"));
    EXPECT_EQ(contents[1].title, QStringLiteral("First start and the password"));

    EXPECT_EQ(titles(manual.search(QStringLiteral("  "))), QStringList());
    const QStringList mini = titles(manual.search(QStringLiteral("MINI deal")));
    EXPECT_TRUE(mini.contains(QStringLiteral("What the figures mean")));
    EXPECT_FALSE(mini.contains(QStringLiteral("Backups")));
    EXPECT_EQ(titles(manual.search(QStringLiteral("mini zzyzx"))), QStringList())
        << "a page must hold every word";
}

TEST(Manual, LinksAreReadFromTextsAndPictures)
{
    EXPECT_EQ(Manual::links(QStringLiteral(
                  "See [Saving](saving.md) and ![The window](images/ab.png \"title\").\n"
                  "[Web](https://example.org) [Part](figures.md#split-deals)")),
              (QStringList{"saving.md", "images/ab.png", "https://example.org", "figures.md#split-deals"}));
    EXPECT_EQ(Manual::titleOf(QStringLiteral("Intro\n#  Backups \n## Going back")),
              QStringLiteral("Backups"));
}

class ManualWindowTest : public ::testing::Test
{
protected:
    template <class T> T *child(const char *name) const
    {
        T *found = window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char *button) const { QTest::mouseClick(child<QToolButton>(button), Qt::LeftButton); }

    ManualWindow window;
};

TEST_F(ManualWindowTest, OpensOnTheContentsAndGoesBackAndForward)
{
    window.show();
    EXPECT_EQ(window.objectName(), QStringLiteral("frmManual"));
    EXPECT_EQ(window.currentPage(), QStringLiteral("index.md"));
    auto *browser = child<QTextBrowser>("txtPage");
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Tarvex Manual")));
    EXPECT_FALSE(child<QToolButton>("cmdBack")->isEnabled());

    window.showPage(QStringLiteral("figures.md"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("payable gross")));
    EXPECT_EQ(child<QListWidget>("lstPages")->currentItem()->text(),
              QStringLiteral("What the figures mean"));
    window.showPage(QStringLiteral("backups.md"));
    click("cmdBack");
    EXPECT_EQ(window.currentPage(), QStringLiteral("figures.md"));
    click("cmdBack");
    EXPECT_EQ(window.currentPage(), QStringLiteral("index.md"));
    EXPECT_TRUE(child<QToolButton>("cmdForward")->isEnabled());
    click("cmdForward");
    EXPECT_EQ(window.currentPage(), QStringLiteral("figures.md"));

    // A link on a page opens the page it names.
    window.showPage(QStringLiteral("index.md"));
    browser->setSource(QUrl(QStringLiteral("qrc:/manual/backups.md")));
    EXPECT_EQ(window.currentPage(), QStringLiteral("backups.md"));
}

TEST_F(ManualWindowTest, TheSearchBoxListsThePagesFoundAndOpensTheFirst)
{
    window.show();
    auto *box = child<QLineEdit>("txtSearch");
    auto *pages = child<QListWidget>("lstPages");
    const int contents = pages->count();

    QTest::keyClicks(box, QStringLiteral("backup"));
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_GE(pages->count(), 1);
    EXPECT_LT(pages->count(), contents);
    EXPECT_EQ(window.currentPage(), pages->item(0)->data(Qt::UserRole).toString());
    EXPECT_TRUE(child<QTextBrowser>("txtPage")->textCursor().hasSelection())
        << "the word found is marked";

    box->setText(QStringLiteral("zzyzx"));
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(pages->count(), 1);
    EXPECT_EQ(pages->item(0)->text(), QStringLiteral("No page holds \"zzyzx\"."));

    box->clear();
    EXPECT_EQ(pages->count(), contents);
    click("cmdContents");
    EXPECT_EQ(window.currentPage(), QStringLiteral("index.md"));
}

TEST_F(ManualWindowTest, PicturesAndTitlesFitTheWindowsWidth)
{
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto *browser = child<QTextBrowser>("txtPage");
    auto *pages = child<QListWidget>("lstPages");
    const auto widestPicture = [browser] {
        qreal widest = 0;
        int pictures = 0;
        for (QTextBlock block = browser->document()->begin(); block.isValid();
             block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.isImageFormat()) {
                    ++pictures;
                    widest = std::max(widest, format.toImageFormat().width());
                }
            }
        }
        EXPECT_GT(pictures, 0);
        return widest;
    };
    const auto setupItem = [pages] {
        for (int row = 0; row < pages->count(); ++row) {
            if (pages->item(row)->data(Qt::UserRole).toString() == QStringLiteral("setup.md"))
                return pages->item(row);
        }
        ADD_FAILURE() << "setup.md is not listed";
        return pages->item(0);
    };
    const QString setupTitle =
        QStringLiteral("Setup: packs, commission, spiffs and unit descriptions");

    // The pictures (822 and 920 pixels wide) are scaled to the page's width.
    EXPECT_GT(widestPicture(), 100);
    EXPECT_LE(widestPicture(), browser->viewport()->width());
    EXPECT_EQ(browser->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(setupItem()->text().endsWith(QChar(0x2026))) << setupItem()->text().toStdString();
    EXPECT_EQ(setupItem()->toolTip(), setupTitle);
    EXPECT_FALSE(pages->horizontalScrollBar()->isVisible());

    // Wide enough, both show whole, and the picture never larger than it is.
    window.resize(2400, 900);
    child<QSplitter>("splitter")->setSizes({700, 1700});
    QTest::qWait(20);
    EXPECT_EQ(widestPicture(), 920);
    EXPECT_EQ(setupItem()->text(), setupTitle);
    EXPECT_EQ(setupItem()->toolTip(), QString());
    window.showPage(QStringLiteral("setup.md"));
    EXPECT_EQ(pages->currentItem(), setupItem());
}

} // namespace
