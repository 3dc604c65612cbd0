#include "setup_files.h"

#include "worksheet/standing_figures.h"
#include "common/quoted_items.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kFigureRefused =
    QStringLiteral("A setting cannot contain a double quote (\"). The setting was not changed.");
const QString kUnitRefused = QStringLiteral(
    "A unit description cannot contain a double quote (\"). The description was not added.");
// %1: the file, %2: the system's reason.
const QString kFigureFailed =
    QStringLiteral("The setting could not be saved in %1:\n%2\n\nThe setting was not changed.");
const QString kUnitAddFailed = QStringLiteral("The unit description could not be added to %1:\n%2");
const QString kUnitsFailed =
    QStringLiteral("The unit list could not be saved in %1:\n%2\n\nNo description was removed.");
const QString kUnitsRefused = QStringLiteral(
    "A unit description cannot contain a double quote (\"). The unit list was not changed.");
const QString kUnitsUnreadable = QStringLiteral("The unit list could not be read from %1:\n%2");

// True when the file exists, holds something and its last byte ends no line.
bool lacksFinalLineEnd(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || !file.seek(file.size() - 1))
        return false;
    const QByteArray last = file.read(1);
    return last != "\n" && last != "\r";
}

} // namespace

SetupFiles::SetupFiles(ProgramFolder folder) : m_folder(std::move(folder))
{
}

SetupFiles::Result SetupFiles::replaceFigures(const QString &fileName, const QStringList &values)
{
    return write(fileName, {values}, false, kFigureRefused, kFigureFailed);
}

SetupFiles::Result SetupFiles::appendUnit(const QString &description)
{
    QList<QStringList> lines{{description}};
    if (lacksFinalLineEnd(m_folder.filePath(StandingFigures::unitFile())))
        lines.prepend(QStringList()); // an empty line writes just the line end
    return write(StandingFigures::unitFile(), lines, true, kUnitRefused, kUnitAddFailed);
}

SetupFiles::Result SetupFiles::replaceUnits(const QStringList &units)
{
    QList<QStringList> lines;
    for (const QString &unit : units)
        lines.append({unit});
    return write(StandingFigures::unitFile(), lines, false, kUnitsRefused, kUnitsFailed);
}

std::optional<QStringList> SetupFiles::readUnits()
{
    m_message.clear();
    const QString path = m_folder.filePath(StandingFigures::unitFile());
    if (!QFileInfo::exists(path))
        return QStringList();
    QString error;
    auto units = QuotedItems::readFile(path, &error);
    if (!units)
        m_message = kUnitsUnreadable.arg(QDir::toNativeSeparators(path), error);
    return units;
}

SetupFiles::Result SetupFiles::write(const QString &fileName, const QList<QStringList> &lines,
                                     bool append, const QString &refusal, const QString &failure)
{
    m_message.clear();
    for (const QStringList &items : lines) {
        for (const QString &item : items) {
            if (!QuotedItems::canStore(item)) {
                m_message = refusal;
                return Result::Refused;
            }
        }
    }
    const QString path = m_folder.filePath(fileName);
    QString error;
    const auto mode = append ? QuotedItems::WriteMode::Append : QuotedItems::WriteMode::Replace;
    if (!QuotedItems::writeFile(path, lines, mode, &error)) {
        m_message = failure.arg(QDir::toNativeSeparators(path), error);
        return Result::Failed;
    }
    return Result::Written;
}
