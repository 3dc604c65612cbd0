#include "access_file.h"

#include <QDir>
#include <QFile>

#include <mdbtools.h>

struct AccessFile::Handle
{
    MdbHandle *mdb = nullptr;
};

namespace {

AccessType typeOf(int columnType)
{
    switch (columnType) {
    case MDB_BOOL:
        return AccessType::YesNo;
    case MDB_BYTE:
        return AccessType::Byte;
    case MDB_INT:
        return AccessType::Integer;
    case MDB_LONGINT:
        return AccessType::Long;
    case MDB_MONEY:
        return AccessType::Currency;
    case MDB_FLOAT:
        return AccessType::Single;
    case MDB_DOUBLE:
        return AccessType::Double;
    case MDB_DATETIME:
        return AccessType::DateTime;
    case MDB_TEXT:
        return AccessType::Text;
    default:
        return AccessType::Other;
    }
}

// The value of a column in the row just fetched, from its stored bytes.
AccessValue valueOf(MdbHandle *mdb, const MdbColumn *column, AccessType type)
{
    if (type == AccessType::YesNo) {
        // A Yes/No value is the row's null-mask bit: the library reports a
        // cleared bit (No) as a length of 1.
        AccessValue value;
        value.kind = AccessValue::Kind::YesNo;
        value.yes = column->cur_value_len == 0;
        return value;
    }
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    if (length == 0)
        return AccessValue::null();
    if (start < 0 || length < 0 || start + length > int(sizeof mdb->pg_buf))
        return AccessValue::unreadable(QStringLiteral("the value lies outside its page"));
    const QByteArray bytes(reinterpret_cast<const char *>(mdb->pg_buf) + start, length);
    switch (type) {
    case AccessType::Byte:
    case AccessType::Integer:
    case AccessType::Long:
        return AccessBytes::integer(bytes);
    case AccessType::Currency:
        return AccessBytes::currency(bytes);
    case AccessType::Single:
        return AccessBytes::singleNumber(bytes);
    case AccessType::Double:
        return AccessBytes::doubleNumber(bytes);
    case AccessType::DateTime:
        return AccessBytes::dateTime(bytes);
    case AccessType::Text:
        return mdb->f->jet_version == MDB_VER_JET3 ? AccessBytes::jet3Text(bytes)
                                                   : AccessBytes::jet4Text(bytes);
    case AccessType::YesNo:
    case AccessType::Other:
        break;
    }
    return AccessValue::unreadable(QStringLiteral("a column type this program does not read"));
}

} // namespace

int AccessTable::columnIndex(const QString &column) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

AccessFile::AccessFile() = default;

AccessFile::~AccessFile()
{
    if (m_handle && m_handle->mdb)
        mdb_close(m_handle->mdb);
    delete m_handle;
}

bool AccessFile::looksLikeAccess(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(32);
    return head.size() >= 19 && head.mid(4, 15) == QByteArrayLiteral("Standard Jet DB");
}

bool AccessFile::open(const QString &path, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!looksLikeAccess(path))
        return fail(QStringLiteral("\"%1\" is not an Access database.")
                        .arg(QDir::toNativeSeparators(path)));
    MdbHandle *mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb)
        return fail(QStringLiteral("\"%1\" could not be opened as an Access database.")
                        .arg(QDir::toNativeSeparators(path)));
    m_handle = new Handle{mdb};
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        return fail(QStringLiteral("The list of tables in \"%1\" could not be read: the file is "
                                   "damaged or incomplete.")
                        .arg(QDir::toNativeSeparators(path)));
    return true;
}

QString AccessFile::formatName() const
{
    if (!m_handle)
        return {};
    switch (m_handle->mdb->f->jet_version) {
    case MDB_VER_JET3:
        return QStringLiteral("Access 97 (Jet 3)");
    case MDB_VER_JET4:
        return QStringLiteral("Access 2000 (Jet 4)");
    default:
        return QStringLiteral("Access 2007 or later");
    }
}

QStringList AccessFile::tableNames() const
{
    QStringList names;
    if (!m_handle)
        return names;
    MdbHandle *mdb = m_handle->mdb;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        const auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE &&
            !mdb_is_system_table(const_cast<MdbCatalogEntry *>(entry)))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

std::optional<AccessTable> AccessFile::readTable(const QString &name, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<AccessTable> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!m_handle)
        return fail(QStringLiteral("The Access file is not open."));
    MdbHandle *mdb = m_handle->mdb;
    QByteArray tableName = name.toUtf8();
    MdbTableDef *table = mdb_read_table_by_name(mdb, tableName.data(), MDB_TABLE);
    if (!table)
        return fail(QStringLiteral("The table %1 could not be read: the file is damaged or "
                                   "incomplete.")
                        .arg(name));
    AccessTable read;
    read.name = name;
    bool complete = mdb_read_columns(table) != nullptr;
    if (complete) {
        QList<AccessType> types;
        for (unsigned i = 0; i < table->num_cols; ++i) {
            const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
            types << typeOf(column->col_type);
            read.columns << AccessColumn{QString::fromUtf8(column->name), types.last()};
        }
        mdb_rewind_table(table);
        while (mdb_fetch_row(table)) {
            QList<AccessValue> row;
            row.reserve(types.size());
            for (unsigned i = 0; i < table->num_cols; ++i) {
                const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
                row << valueOf(mdb, column, types.at(int(i)));
            }
            read.rows << row;
        }
        complete = read.rows.size() == qsizetype(table->num_rows);
    }
    const unsigned declared = table->num_rows;
    mdb_free_tabledef(table);
    if (read.columns.isEmpty())
        return fail(QStringLiteral("The columns of the table %1 could not be read: the file is "
                                   "damaged or incomplete.")
                        .arg(name));
    if (!complete)
        return fail(QStringLiteral("The table %1 holds %2 rows, of which only %3 could be read: "
                                   "the file is damaged or incomplete.")
                        .arg(name)
                        .arg(declared)
                        .arg(read.rows.size()));
    return read;
}
