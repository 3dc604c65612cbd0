#include "admin/password_file.h"

#include "common/durable_file.h"
#include "common/quoted_items.h"

#include <QFileInfo>

PasswordFile::PasswordFile(const ProgramFolder &folder) : m_path(folder.filePath(fileName()))
{
}

PasswordFile::Reading PasswordFile::read() const
{
    Reading reading;
    const QFileInfo info(m_path);
    if (!info.exists()) {
        reading.state = State::Missing;
        return reading;
    }
    if (info.isDir()) {
        reading.state = State::Unreadable;
        reading.error = QStringLiteral("%1 is a folder, not a file.").arg(fileName());
        return reading;
    }
    const auto items = QuotedItems::readFile(m_path, &reading.error);
    if (!items) {
        reading.state = State::Unreadable;
        return reading;
    }
    if (items->isEmpty()) {
        reading.state = State::NoItem;
        return reading;
    }
    if (items->constFirst() == QString::fromLatin1(movedNote()).trimmed()) {
        reading.state = State::Moved;
        return reading;
    }
    reading.state = State::Holds;
    reading.password = items->constFirst();
    return reading;
}

QByteArray PasswordFile::movedNote()
{
    // Unquoted and without a comma: read back, it is one item.
    return QByteArrayLiteral("Tarvex keeps its passwords in the deal database now (as hashes only); "
                             "this file holds none.\r\n");
}

bool PasswordFile::writeMovedNote(QString *error) const
{
    return DurableFile::replace(m_path, movedNote(), error);
}

bool PasswordFile::canStore(const QString &password)
{
    return QuotedItems::canStore(password);
}

QString PasswordFile::unreadableMessage(const QString &path, const QString &error)
{
    return QStringLiteral("The password file %1 could not be read:\n%2\n\n"
                          "Tarvex cannot check the password and will close.")
        .arg(path, error);
}

QString PasswordFile::doubleQuoteRefusal()
{
    return QStringLiteral("A password cannot contain a double quote (\"). "
                          "Please choose a password without one.");
}

bool PasswordFile::write(const QString &password, QString *error) const
{
    if (!canStore(password)) {
        if (error)
            *error = doubleQuoteRefusal();
        return false;
    }
    return QuotedItems::writeFile(m_path, {QStringList{password}}, QuotedItems::WriteMode::Replace,
                                  error);
}
