#include "quoted_items.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace QuotedItems {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

QString fromWindows1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80 && value <= 0x9F)
            text.append(QChar(kWindows1252High[value - 0x80]));
        else
            text.append(QChar(char16_t(value)));
    }
    return text;
}

QString decode(const QByteArray &bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return fromWindows1252(body);
}

QStringList parse(const QByteArray &bytes)
{
    const QString text = decode(bytes);
    QStringList items;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    bool afterComma = false; // an item is due even if the line ends now

    while (pos < size) {
        while (pos < size && isBlank(text.at(pos)))
            ++pos;
        if (pos >= size)
            break;
        const QChar c = text.at(pos);
        if (isLineEnd(c)) {
            if (afterComma)
                items.append(QString());
            afterComma = false;
            // CR LF, lone CR and lone LF all end a line.
            if (c == u'\r' && pos + 1 < size && text.at(pos + 1) == u'\n')
                ++pos;
            ++pos;
            continue;
        }
        if (c == u',') {
            items.append(QString()); // nothing before the comma: an empty item
            afterComma = true;
            ++pos;
            continue;
        }

        QString item;
        if (c == u'"') {
            const qsizetype close = text.indexOf(u'"', pos + 1);
            const qsizetype end = close < 0 ? size : close;
            item = text.mid(pos + 1, end - pos - 1);
            pos = close < 0 ? size : close + 1;
            // Anything after the closing quote up to the separator is ignored.
            while (pos < size && text.at(pos) != u',' && !isLineEnd(text.at(pos)))
                ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < size && text.at(pos) != u',' && !isLineEnd(text.at(pos)))
                ++pos;
            item = text.mid(start, pos - start);
            while (!item.isEmpty() && isBlank(item.back()))
                item.chop(1);
        }
        items.append(item);
        afterComma = false;
        if (pos < size && text.at(pos) == u',') {
            afterComma = true;
            ++pos;
        }
    }
    if (afterComma)
        items.append(QString());
    return items;
}

bool canStore(const QString &item)
{
    return !item.contains(u'"');
}

std::optional<QByteArray> encodeLine(const QStringList &items)
{
    QByteArray line;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!canStore(items.at(i)))
            return std::nullopt;
        if (i > 0)
            line.append(',');
        line.append('"');
        line.append(items.at(i).toUtf8());
        line.append('"');
    }
    line.append("\r\n");
    return line;
}

std::optional<QStringList> readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return parse(file.readAll());
}

bool writeFile(const QString &path, const QList<QStringList> &lines, WriteMode mode,
               QString *error)
{
    QByteArray bytes;
    for (const QStringList &items : lines) {
        const auto line = encodeLine(items);
        if (!line) {
            if (error)
                *error = QStringLiteral("A double quote (\") cannot be stored in this file.");
            return false;
        }
        bytes.append(*line);
    }

    if (mode == WriteMode::Replace) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()
            || !file.commit()) {
            if (error)
                *error = file.errorString();
            return false;
        }
        return true;
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)
        || file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace QuotedItems
