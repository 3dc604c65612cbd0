#include "admin/ui/manual_fit.h"

#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace ManualFit {

namespace {

QSize naturalSize(QTextBrowser &browser, const QString &name)
{
    const QUrl url(name);
    QTextDocument *document = browser.document();
    QVariant resource = document->resource(QTextDocument::ImageResource, url);
    if (!resource.isValid())
        resource = browser.loadResource(QTextDocument::ImageResource, url);
    if (resource.canConvert<QImage>() && resource.typeId() != QMetaType::QByteArray)
        return resource.value<QImage>().size();
    return QImage::fromData(resource.toByteArray()).size();
}

} // namespace

void fitPictures(QTextBrowser &browser)
{
    QTextDocument *document = browser.document();
    const qreal room = browser.viewport()->width() - 2 * document->documentMargin() -
                       browser.verticalScrollBar()->sizeHint().width();
    QTextCursor cursor(document);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QSize natural = naturalSize(browser, picture.name());
            if (natural.isEmpty())
                continue;
            const qreal width = std::max<qreal>(1, std::min<qreal>(natural.width(), room));
            if (qAbs(picture.width() - width) < 0.5)
                continue;
            picture.setWidth(width);
            picture.setHeight(natural.height() * width / natural.width());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
    }
}

void elideTitles(QListWidget &list)
{
    const int room = list.viewport()->width() - 2 * list.spacing() - 8;
    const QFontMetrics metrics(list.font());
    for (int row = 0; row < list.count(); ++row) {
        QListWidgetItem *item = list.item(row);
        QString title = item->data(Qt::UserRole + 1).toString();
        if (title.isEmpty()) {
            title = item->text();
            item->setData(Qt::UserRole + 1, title);
        }
        const QString shown = metrics.elidedText(title, Qt::ElideRight, room);
        item->setText(shown);
        item->setToolTip(shown == title ? QString() : title);
    }
}

} // namespace ManualFit
