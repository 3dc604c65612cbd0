#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Tarvex's own manual: Markdown pages with pictures, built into the program
// (under ":/manual") and installed beside it. "index.md" is the first page;
// the order of its links is the order of the contents.
class Manual
{
public:
    struct Page
    {
        QString file;  // "saving.md", relative to the root
        QString title; // the page's first "# " heading
    };

    static QString builtInRoot() { return QStringLiteral(":/manual"); }
    static QString firstPage() { return QStringLiteral("index.md"); }

    explicit Manual(QString root = builtInRoot());

    const QString &root() const { return m_root; }
    // The path of a page or picture below the root.
    QString filePath(const QString &file) const { return m_root + u'/' + file; }

    // The first page, then every page its links name, in link order.
    QList<Page> contents() const;
    QString text(const QString &file) const;

    // The pages of the contents that hold every word of `words` (any case),
    // in contents order. No words: no pages.
    QList<Page> search(const QString &words) const;

    // The targets of the links and pictures of a Markdown text, as written
    // ("saving.md", "images/worksheet.png", "https://..."), in order.
    static QStringList links(const QString &markdown);
    static QString titleOf(const QString &markdown);

private:
    QString m_root;
};
