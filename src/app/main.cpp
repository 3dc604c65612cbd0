#include "app/tarvex_program.h"
#include "common/ui/widget_prompts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    WidgetPrompts prompts;
    TarvexProgram program(ProgramFolder::ofExecutable(), prompts);
    if (!program.start())
        return 0;
    return QApplication::exec();
}
