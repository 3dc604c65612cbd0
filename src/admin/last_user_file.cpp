#include "admin/last_user_file.h"

#include "common/quoted_items.h"

LastUserFile::LastUserFile(const ProgramFolder &folder) : m_path(folder.filePath(fileName()))
{
}

QString LastUserFile::read() const
{
    const auto items = QuotedItems::readFile(m_path);
    return items && !items->isEmpty() ? items->constFirst() : QString();
}

bool LastUserFile::write(const QString &userName) const
{
    return QuotedItems::writeFile(m_path, {QStringList{userName}},
                                  QuotedItems::WriteMode::Replace);
}
