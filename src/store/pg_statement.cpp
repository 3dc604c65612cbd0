#include "pg_statement.h"

#include "column_value.h"
#include "store_sql.h"

#include <QDate>
#include <QSqlDriver>
#include <QSqlError>

#include <libpq-fe.h>

#include <charconv>

namespace {

// The server's numbers of the built-in types the store's columns use.
constexpr Oid kBool = 16;
constexpr Oid kBigInt = 20;
constexpr Oid kSmallInt = 21;
constexpr Oid kInteger = 23;
constexpr Oid kReal = 700;
constexpr Oid kDouble = 701;
constexpr Oid kNumeric = 1700;
constexpr Oid kDate = 1082;

QMetaType metaTypeOf(Oid type)
{
    switch (type) {
    case kBool:
        return QMetaType::fromType<bool>();
    case kBigInt:
        return QMetaType::fromType<qlonglong>();
    case kSmallInt:
    case kInteger:
        return QMetaType::fromType<int>();
    case kReal:
    case kDouble:
    case kNumeric:
        return QMetaType::fromType<double>();
    case kDate:
        return QMetaType::fromType<QDate>();
    default:
        return QMetaType::fromType<QString>();
    }
}

// A whole number as the server writes it; 0 when it is none.
template <typename Number>
Number numberIn(const char *text, int length)
{
    Number number = 0;
    const std::from_chars_result read = std::from_chars(text, text + length, number);
    return read.ec == std::errc() ? number : 0;
}

// `text` as COPY's text format holds it: runs of plain characters as they
// are, backslash, tab, line break and carriage return escaped.
void appendEscaped(QString &to, const QString &text)
{
    const QChar *characters = text.constData();
    qsizetype plain = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t letter = 0;
        switch (characters[i].unicode()) {
        case u'\\':
            letter = u'\\';
            break;
        case u'\t':
            letter = u't';
            break;
        case u'\n':
            letter = u'n';
            break;
        case u'\r':
            letter = u'r';
            break;
        default:
            continue;
        }
        to.append(characters + plain, i - plain);
        to += u'\\';
        to += QChar(letter);
        plain = i + 1;
    }
    to.append(characters + plain, text.size() - plain);
}

// `statement` with its "?" marks numbered as the server's "$1", "$2", ...;
// marks inside quoted names or texts are left alone.
QByteArray numberedMarks(const QString &statement)
{
    const QByteArray text = statement.toUtf8();
    QByteArray out;
    out.reserve(text.size() + 16);
    int next = 1;
    char quote = 0;
    for (const char c : text) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '?') {
            out += '$';
            out += QByteArray::number(next++);
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace

pg_conn *PgStatement::handleOf(const QSqlDatabase &db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // Named by the typedef or by the structure, as the compiler gave it.
    const char *type = handle.typeName();
    if (qstrcmp(type, "PGconn*") != 0 && qstrcmp(type, "pg_conn*") != 0)
        return nullptr;
    return *static_cast<pg_conn *const *>(handle.constData());
}

PgStatement::PgStatement(const QSqlDatabase &db) : m_conn(handleOf(db))
{
}

PgStatement::~PgStatement()
{
    clear();
}

void PgStatement::clear()
{
    PQclear(m_result);
    m_result = nullptr;
}

bool PgStatement::fail(QString *error)
{
    // As the driver words it: the connection's last message, then the
    // SQLSTATE of the result that failed. The fault is noted whether or not
    // the caller asks for the words.
    QSqlError failure;
    if (m_conn) {
        QString words = QString::fromUtf8(PQerrorMessage(m_conn));
        QString state;
        if (m_result) {
            state = QString::fromLatin1(PQresultErrorField(m_result, PG_DIAG_SQLSTATE));
            words += QStringLiteral("(%1)").arg(state);
        }
        failure = QSqlError(QStringLiteral("QPSQL: Unable to create query"), words,
                            QSqlError::StatementError, state);
    }
    const QString text = StoreSql::errorText(failure);
    if (error)
        *error = text;
    clear();
    return false;
}

bool PgStatement::run(const QString &statement, const std::vector<Value> &values,
                      QString *error)
{
    clear();
    if (!m_conn)
        return fail(error);
    std::vector<const char *> texts;
    std::vector<int> lengths;
    texts.reserve(values.size());
    lengths.reserve(values.size());
    for (const Value &value : values) {
        texts.push_back(value ? value->constData() : nullptr);
        lengths.push_back(value ? int(value->size()) : 0);
    }
    m_result = PQexecParams(m_conn, numberedMarks(statement).constData(), int(values.size()),
                            nullptr, texts.data(), lengths.data(), nullptr, 0);
    const ExecStatusType status = PQresultStatus(m_result);
    if (!m_result || (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK))
        return fail(error);
    return true;
}

bool PgStatement::run(const QString &statement, const QVariantList &values, QString *error)
{
    std::vector<Value> texts;
    texts.reserve(size_t(values.size()));
    for (const QVariant &value : values)
        texts.push_back(valueOf(value));
    return run(statement, texts, error);
}

PgStatement::Value PgStatement::valueOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    const void *data = value.constData();
    switch (value.typeId()) {
    case QMetaType::QString: {
        // A null text is no value, as the driver sends it.
        const QString &text = *static_cast<const QString *>(data);
        return text.isNull() ? std::nullopt : Value(text.toUtf8());
    }
    case QMetaType::Bool:
        return QByteArray(*static_cast<const bool *>(data) ? "1" : "0");
    case QMetaType::LongLong:
        return QByteArray::number(*static_cast<const qlonglong *>(data));
    case QMetaType::ULongLong:
        return QByteArray::number(*static_cast<const qulonglong *>(data));
    case QMetaType::Int:
        return QByteArray::number(*static_cast<const int *>(data));
    default:
        return ColumnValue::storedText(value).toUtf8();
    }
}

int PgStatement::rows() const
{
    return m_result ? PQntuples(m_result) : 0;
}

QVariant PgStatement::value(int row, int column) const
{
    const Oid type = PQftype(m_result, column);
    if (PQgetisnull(m_result, row, column))
        return QVariant(metaTypeOf(type), nullptr);
    const char *text = PQgetvalue(m_result, row, column);
    const int length = PQgetlength(m_result, row, column);
    switch (type) {
    case kBool:
        return QVariant(text[0] == 't');
    case kBigInt:
        return text[0] == '-' ? QVariant(qlonglong(numberIn<qlonglong>(text, length)))
                              : QVariant(qulonglong(numberIn<qulonglong>(text, length)));
    case kSmallInt:
    case kInteger:
        return QVariant(numberIn<int>(text, length));
    case kDate:
        return QVariant(QDate::fromString(QString::fromLatin1(text), Qt::ISODate));
    case kReal:
    case kDouble:
    case kNumeric:
        return QVariant(QByteArray::fromRawData(text, qstrlen(text)).toDouble());
    default:
        return QVariant(QString::fromUtf8(text, length));
    }
}

bool PgStatement::copyIn(const QString &table, const QStringList &columns, const QString &rows,
                         QString *error)
{
    clear();
    if (!m_conn)
        return fail(error);
    const QString statement = QStringLiteral("COPY %1 (%2) FROM STDIN")
                                  .arg(StoreSql::quoted(table), StoreSql::columnList(columns));
    m_result = PQexec(m_conn, statement.toUtf8().constData());
    if (PQresultStatus(m_result) != PGRES_COPY_IN)
        return fail(error);
    clear();
    const QByteArray data = rows.toUtf8();
    if (PQputCopyData(m_conn, data.constData(), int(data.size())) != 1 ||
        PQputCopyEnd(m_conn, nullptr) != 1)
        return fail(error);
    // The COPY's own result, then none.
    m_result = PQgetResult(m_conn);
    bool copied = PQresultStatus(m_result) == PGRES_COMMAND_OK;
    while (PGresult *more = PQgetResult(m_conn)) {
        copied = copied && PQresultStatus(more) == PGRES_COMMAND_OK;
        PQclear(more);
    }
    return copied || fail(error);
}

void PgStatement::appendCopyField(QString &rows, const QVariant &value)
{
    const void *data = value.constData();
    switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::UnknownType:
        rows += QLatin1StringView("\\N");
        return;
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
        ColumnValue::appendStoredText(rows, value); // digits only
        return;
    case QMetaType::QString: {
        const QString &text = *static_cast<const QString *>(data);
        if (text.isNull())
            rows += QLatin1StringView("\\N");
        else
            appendEscaped(rows, text);
        return;
    }
    default:
        appendEscaped(rows, ColumnValue::storedText(value));
    }
}

QByteArray PgStatement::arrayOf(const QList<qint64> &ids)
{
    QByteArray text = "{";
    for (const qint64 id : ids) {
        if (text.size() > 1)
            text += ',';
        text += QByteArray::number(id);
    }
    return text + '}';
}
