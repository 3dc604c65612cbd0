#include "quoted_items.h"

#include "durable_file.h"

#include <QFile>
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

namespace {

std::optional<char> toWindows1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (int i = 0; i < 32; ++i) {
        if (kWindows1252High[i] == c)
            return char(0x80 + i);
    }
    return std::nullopt;
}

QByteArray withoutByteOrderMark(const QByteArray &bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
}

bool isUtf8(const QByteArray &body)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString ignored = utf8(body);
    return !utf8.hasError();
}

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

Encoding encodingOf(const QByteArray &bytes)
{
    return isUtf8(withoutByteOrderMark(bytes)) ? Encoding::Utf8 : Encoding::Windows1252;
}

QString decode(const QByteArray &bytes)
{
    const QByteArray body = withoutByteOrderMark(bytes);
    return isUtf8(body) ? QString::fromUtf8(body) : fromWindows1252(body);
}

std::optional<QByteArray> encode(const QString &text, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const auto byte = toWindows1252(c.unicode());
        if (!byte)
            return std::nullopt;
        bytes.append(*byte);
    }
    return bytes;
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

std::optional<QByteArray> encodeLine(const QStringList &items, Encoding encoding)
{
    QByteArray line;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const auto text = encode(items.at(i), encoding);
        if (!canStore(items.at(i)) || !text)
            return std::nullopt;
        if (i > 0)
            line.append(',');
        line.append('"');
        line.append(*text);
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
               QString *error, Encoding encoding)
{
    QByteArray bytes;
    for (const QStringList &items : lines) {
        const auto line = encodeLine(items, encoding);
        if (!line) {
            if (error)
                *error = encodeLine(items)
                             ? QStringLiteral("A character cannot be stored in this file's "
                                              "encoding.")
                             : QStringLiteral("A double quote (\") cannot be stored in this file.");
            return false;
        }
        bytes.append(*line);
    }

    if (mode == WriteMode::Append) {
        // The file is written whole with its old bytes first, so a failure
        // never leaves half a line at its end.
        QFile existing(path);
        if (existing.exists()) {
            if (!existing.open(QIODevice::ReadOnly)) {
                if (error)
                    *error = existing.errorString();
                return false;
            }
            const QByteArray old = existing.readAll();
            if (existing.error() != QFileDevice::NoError) {
                if (error)
                    *error = existing.errorString();
                return false;
            }
            bytes.prepend(old);
        }
    }
    return DurableFile::replace(path, bytes, error);
}

} // namespace QuotedItems
