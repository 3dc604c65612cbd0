#include "app/tarvex_program.h"
#include "common/ui/widget_prompts.h"

#include "legacy/legacy_import_command.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--import-legacy") == 0) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        return runLegacyImportCommand(QString::fromLocal8Bit(argv[2]),
                                      ProgramFolder::ofExecutable(), out);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    WidgetPrompts prompts;
    TarvexProgram program(ProgramFolder::ofExecutable(), prompts);
    if (!program.start())
        return 0;
    return QApplication::exec();
}
