#include "child_test.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

ChildEnd runChildTest(const QString &test, const QList<std::pair<QString, QString>> &variables,
                      int timeoutMilliseconds)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : variables)
        environment.insert(name, value);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + test});
    EXPECT_TRUE(child.waitForFinished(timeoutMilliseconds)) << "child test did not finish";
    ChildEnd end;
    end.crashed = child.exitStatus() == QProcess::CrashExit;
    end.exitCode = child.exitCode();
    end.output = child.readAll();
    return end;
}
