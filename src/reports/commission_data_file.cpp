#include "reports/commission_data_file.h"

#include "common/money.h"
#include "common/money_format.h"

#include <QFile>

#include <algorithm>

namespace CommissionDataFile {

namespace {

constexpr char kNull[] = "#NULL#";
constexpr int kValuesPerDeal = 8;

// Appends a value as the file holds it: #NULL# for none, an amount as its
// plain number, anything else quoted, its quotes doubled.
void appendValue(QString &text, const QVariant &value)
{
    if (value.isNull()) {
        text += QLatin1StringView(kNull);
        return;
    }
    if (value.metaType() == QMetaType::fromType<Money>()) {
        text += MoneyFormat::plain(value.value<Money>());
        return;
    }
    const QString plain = value.toString();
    text += u'"';
    if (plain.contains(u'"'))
        text += QString(plain).replace(u'"', QStringLiteral("\"\""));
    else
        text += plain;
    text += u'"';
}

// Splits the file into its values: separated by commas and line ends, a
// quoted value running to its closing quote whatever it holds.
class ValueReader
{
public:
    explicit ValueReader(const QString &text) : m_text(text) {}

    // Moves to the start of the next deal; true when there is none.
    bool atEnd()
    {
        skipLineEnds();
        return m_pos >= m_text.size();
    }

    // True when the current line has no more values.
    bool atLineEnd() const { return m_pos >= m_text.size() || isLineEnd(m_text.at(m_pos)); }

    QVariant next()
    {
        const QVariant value =
            m_pos < m_text.size() && m_text.at(m_pos) == u'"' ? quoted() : unquoted();
        if (m_pos < m_text.size() && m_text.at(m_pos) == u',')
            ++m_pos;
        return value;
    }

private:
    void skipLineEnds()
    {
        while (!atEndOfText() && isLineEnd(m_text.at(m_pos)))
            ++m_pos;
    }

    QVariant quoted()
    {
        QString value;
        ++m_pos; // the opening quote
        while (m_pos < m_text.size()) {
            const qsizetype quote = m_text.indexOf(u'"', m_pos);
            const qsizetype end = quote < 0 ? m_text.size() : quote;
            value += QStringView(m_text).sliced(m_pos, end - m_pos);
            m_pos = end + 1;
            if (quote < 0 || m_pos >= m_text.size() || m_text.at(m_pos) != u'"')
                break;
            value += u'"'; // a doubled quote
            ++m_pos;
        }
        m_pos = std::min(m_pos, m_text.size());
        // Anything between the closing quote and the separator is not part of
        // the value.
        while (m_pos < m_text.size() && !isSeparator(m_text.at(m_pos)))
            ++m_pos;
        return value;
    }

    QVariant unquoted()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && !isSeparator(m_text.at(m_pos)))
            ++m_pos;
        const QString value = m_text.mid(start, m_pos - start).trimmed();
        return value == QLatin1String(kNull) ? QVariant() : QVariant(value);
    }

    bool atEndOfText() const { return m_pos >= m_text.size(); }
    static bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
    static bool isSeparator(QChar c) { return c == u',' || isLineEnd(c); }

    const QString &m_text;
    qsizetype m_pos = 0;
};

// Hands each deal's eight values to `take`, in fieldNames() order.
template <typename Take>
void forEachDeal(const QByteArray &bytes, Take take)
{
    const QString text = QString::fromUtf8(bytes);
    ValueReader reader(text);
    QVariantList values(kValuesPerDeal);
    while (!reader.atEnd()) {
        for (QVariant &value : values)
            value = reader.atLineEnd() ? QVariant() : reader.next();
        take(values);
    }
}

} // namespace

const QStringList &fieldNames()
{
    static const QStringList names = {
        QStringLiteral("Customer_Name"), QStringLiteral("Stock_Number"),    QStringLiteral("TCU"),
        QStringLiteral("Payable_Gross"), QStringLiteral("Commission"),      QStringLiteral("Spiff"),
        QStringLiteral("Warranty"),      QStringLiteral("TotalCommission"),
    };
    return names;
}

QByteArray encode(const QList<QVariantList> &deals)
{
    // Made as text and turned into UTF-8 once: a sheet of a thousand deals
    // has eight thousand values.
    QString text;
    text.reserve(deals.size() * 96);
    for (const QVariantList &deal : deals) {
        for (int i = 0; i < kValuesPerDeal; ++i) {
            if (i > 0)
                text += u',';
            appendValue(text, deal.value(i));
        }
        text += QLatin1StringView("\r\n");
    }
    return text.toUtf8();
}

QList<ReportRow> decode(const QByteArray &bytes)
{
    QList<ReportRow> deals;
    forEachDeal(bytes, [&deals](const QVariantList &values) {
        ReportRow deal;
        for (int i = 0; i < kValuesPerDeal; ++i)
            deal.insert(fieldNames().at(i), values.at(i));
        deals << deal;
    });
    return deals;
}

ReportRows decodeRows(const QByteArray &bytes)
{
    ReportRows deals(fieldNames());
    forEachDeal(bytes, [&deals](const QVariantList &values) { deals.appendValues(values); });
    return deals;
}

std::optional<ReportRows> read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return decodeRows(file.readAll());
}

} // namespace CommissionDataFile
