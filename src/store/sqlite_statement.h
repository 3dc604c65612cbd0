#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A statement kept prepared on an SQLite connection's own handle (the
// driver's), its values bound straight from the QVariants: for the
// statements run for every deal saved, where binding through QSqlQuery costs
// about as much as SQLite's own work. Values are the store's kinds: none,
// whole numbers, texts (others as their text). A failure is reported as the
// driver reports it, so that StoreSql::FaultWatch tells a full disk from bad
// data alike. Finalized when destroyed, which must be before the connection
// closes.
class SqliteStatement
{
public:
    SqliteStatement() = default;
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // The connection's handle: none unless it is an open SQLite connection.
    static sqlite3 *handleOf(const QSqlDatabase &db);

    bool prepare(sqlite3 *db, const QString &statement, QString *error);

    // Binds `values`, then `last` when given, and runs the statement to its
    // end. `returned`, when given, gets the first column of the first row
    // the statement gives (an INSERT ... RETURNING key).
    bool exec(const QVariantList &values, const QVariant *last, QString *error,
              std::optional<qint64> *returned = nullptr);

    // Binds `values` and runs the statement to its first row, if any
    // (hasRow()), whose columns value() reads as the driver would: whole
    // numbers as qint64, texts as QString, none as a null value. finish()
    // lets go of it.
    bool start(const QVariantList &values, QString *error);
    // Moves on to the statement's next row, if any (hasRow()).
    bool next(QString *error);
    // The key the connection's last insert gave (its rowid).
    qint64 lastInsertedKey() const;
    bool hasRow() const { return m_hasRow; }
    QVariant value(int column) const;
    // The same without a QVariant, for rows read by the hundred thousand:
    // whether the column is null, a whole number (0 for null), and a text's
    // UTF-8 bytes (valid until the next row).
    bool isNull(int column) const;
    qint64 integer(int column) const;
    QByteArrayView utf8(int column) const;
    void finish();

private:
    bool bind(const QVariantList &values, const QVariant *last, QString *error);
    bool fail(QString *error);

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_statement = nullptr;
    bool m_hasRow = false;
    std::vector<QByteArray> m_texts; // the texts bound, kept until the next run
};
