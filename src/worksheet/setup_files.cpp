#include "setup_files.h"

#include "worksheet/standing_figures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

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

// True when the bytes end in the middle of a line.
bool lacksFinalLineEnd(const QByteArray &bytes)
{
    return !bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r');
}

QList<QStringList> oneItemALine(const QStringList &items)
{
    QList<QStringList> lines;
    for (const QString &item : items)
        lines.append({item});
    return lines;
}

} // namespace

SetupFiles::SetupFiles(ProgramFolder folder) : m_folder(std::move(folder))
{
}

SetupFiles::Result SetupFiles::replaceFigures(const QString &fileName, const QStringList &values)
{
    return write(fileName, {values}, QuotedItems::WriteMode::Replace, QuotedItems::Encoding::Utf8,
                 kFigureRefused, kFigureFailed);
}

SetupFiles::Result SetupFiles::appendUnit(const QString &description)
{
    using QuotedItems::Encoding;
    const auto bytes = readUnitBytes(kUnitAddFailed);
    if (!bytes)
        return Result::Failed;
    const Encoding encoding = QuotedItems::encodingOf(*bytes);
    if (QuotedItems::canStore(description) && !QuotedItems::encode(description, encoding)) {
        // The older encoding cannot hold the new description: the whole file
        // becomes UTF-8 at once.
        QStringList units = QuotedItems::parse(*bytes);
        units.append(description);
        return write(StandingFigures::unitFile(), oneItemALine(units),
                     QuotedItems::WriteMode::Replace, Encoding::Utf8, kUnitRefused,
                     kUnitAddFailed);
    }
    QList<QStringList> lines{{description}};
    if (lacksFinalLineEnd(*bytes))
        lines.prepend(QStringList()); // an empty line writes just the line end
    return write(StandingFigures::unitFile(), lines, QuotedItems::WriteMode::Append, encoding,
                 kUnitRefused, kUnitAddFailed);
}

SetupFiles::Result SetupFiles::removeUnits(const QList<UnitLine> &removed)
{
    const auto bytes = readUnitBytes(kUnitsFailed);
    if (!bytes)
        return Result::Failed;
    const QStringList units = QuotedItems::parse(*bytes);
    QStringList kept;
    QHash<QString, int> seen;
    for (const QString &unit : units) {
        const int occurrence = seen[unit]++;
        const bool take = std::any_of(removed.begin(), removed.end(), [&](const UnitLine &line) {
            return line.description == unit && line.occurrence == occurrence;
        });
        if (!take)
            kept.append(unit);
    }
    if (kept.size() == units.size())
        return Result::Written;
    // What is kept was read from the file, so its own encoding holds it.
    return write(StandingFigures::unitFile(), oneItemALine(kept), QuotedItems::WriteMode::Replace,
                 QuotedItems::encodingOf(*bytes), kUnitsRefused, kUnitsFailed);
}

std::optional<QByteArray> SetupFiles::readUnitBytes(const QString &failure)
{
    m_message.clear();
    const QString path = m_folder.filePath(StandingFigures::unitFile());
    if (!QFileInfo::exists(path))
        return QByteArray();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_message = failure.arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    return file.readAll();
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
                                     QuotedItems::WriteMode mode, QuotedItems::Encoding encoding,
                                     const QString &refusal, const QString &failure)
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
    if (!QuotedItems::writeFile(path, lines, mode, &error, encoding)) {
        m_message = failure.arg(QDir::toNativeSeparators(path), error);
        return Result::Failed;
    }
    return Result::Written;
}
