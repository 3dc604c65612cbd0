#include "temp_program_folder.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TempProgramFolder::TempProgramFolder()
{
    EXPECT_TRUE(m_dir.isValid()) << "no temporary folder";
}

void TempProgramFolder::writeBytes(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray TempProgramFolder::readBytes(const QString &name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TempProgramFolder::exists(const QString &name) const
{
    return QFileInfo::exists(filePath(name));
}
