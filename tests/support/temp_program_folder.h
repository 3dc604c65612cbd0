#pragma once

#include "common/program_folder.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder for one test, removed afterwards.
class TempProgramFolder
{
public:
    TempProgramFolder();

    ProgramFolder folder() const { return ProgramFolder(m_dir.path()); }
    QString filePath(const QString &name) const { return folder().filePath(name); }

    // Writes a file's exact bytes; reads them back.
    void writeBytes(const QString &name, const QByteArray &bytes) const;
    QByteArray readBytes(const QString &name) const;
    bool exists(const QString &name) const;

private:
    QTemporaryDir m_dir;
};
