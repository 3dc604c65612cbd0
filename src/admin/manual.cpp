#include "admin/manual.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

Manual::Manual(QString root) : m_root(std::move(root)) {}

QString Manual::text(const QString &file) const
{
    QFile page(filePath(file));
    if (!page.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(page.readAll());
}

QString Manual::titleOf(const QString &markdown)
{
    static const QRegularExpression heading(QStringLiteral("^# +(.+?)\\s*$"),
                                            QRegularExpression::MultilineOption);
    return heading.match(markdown).captured(1);
}

QStringList Manual::links(const QString &markdown)
{
    // [text](target) and ![alt](target); a target may carry a "title".
    static const QRegularExpression link(QStringLiteral("\\]\\(\\s*([^)\\s]+)[^)]*\\)"));
    QStringList targets;
    for (auto it = link.globalMatch(markdown); it.hasNext();)
        targets << it.next().captured(1);
    return targets;
}

QList<Manual::Page> Manual::contents() const
{
    const QString first = text(firstPage());
    QList<Page> pages{{firstPage(), titleOf(first)}};
    for (const QString &target : links(first)) {
        const QString file = target.section(u'#', 0, 0);
        if (!file.endsWith(QStringLiteral(".md")) || file.contains(u':'))
            continue;
        if (std::none_of(pages.cbegin(), pages.cend(),
                         [&file](const Page &page) { return page.file == file; }))
            pages.append({file, titleOf(text(file))});
    }
    return pages;
}

QList<Manual::Page> Manual::search(const QString &words) const
{
    const QStringList wanted = words.split(u' ', Qt::SkipEmptyParts);
    QList<Page> found;
    if (wanted.isEmpty())
        return found;
    for (const Page &page : contents()) {
        const QString pageText = text(page.file);
        if (std::all_of(wanted.cbegin(), wanted.cend(), [&pageText](const QString &word) {
                return pageText.contains(word, Qt::CaseInsensitive);
            }))
            found.append(page);
    }
    return found;
}
