#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>

ProgramFolder::ProgramFolder(QString path) : m_path(QDir::fromNativeSeparators(std::move(path)))
{
    while (m_path.size() > 1 && m_path.endsWith(u'/'))
        m_path.chop(1);
}

ProgramFolder ProgramFolder::ofExecutable()
{
    return ProgramFolder(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::filePath(const QString &fileName) const
{
    return m_path + u'/' + fileName;
}
