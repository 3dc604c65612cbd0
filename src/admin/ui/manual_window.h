#pragma once

#include "admin/manual.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;
class QToolButton;
class QUrl;

// The manual window: the contents (or the pages a search found) on the left,
// the page on the right, back and forward through the pages read, and a
// search box. Modeless; one instance, kept when closed.
class ManualWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ManualWindow(Manual manual = Manual(), QWidget *parent = nullptr);

    // Shows a page of the manual ("saving.md").
    void showPage(const QString &file);
    // The page shown, relative to the manual's root.
    QString currentPage() const;

    // Lists the pages holding every word of `words`, opens the first and
    // marks the first word on it. Empty words list the contents again.
    void search(const QString &words);

protected:
    // Fits the pictures and the titles again when the window changes size.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void listPages(const QList<Manual::Page> &pages);
    // Selects `page` in the list when it is there.
    void markPage(const QString &page);
    QString pageOf(const QUrl &source) const;
    void openItem(QListWidgetItem *item);

    Manual m_manual;
    QLineEdit *m_searchBox;
    QListWidget *m_pages;
    QTextBrowser *m_browser;
    QToolButton *m_back;
    QToolButton *m_forward;
};
