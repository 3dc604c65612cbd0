#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// Runs one test of this test program in a child process, on the offscreen
// platform, with the given environment variables added: for tests whose
// subject is a process that is killed or ends part-way.
struct ChildEnd
{
    bool crashed = false;
    int exitCode = -1;
    QByteArray output; // standard output and error together
};
ChildEnd runChildTest(const QString &test,
                      const QList<std::pair<QString, QString>> &variables,
                      int timeoutMilliseconds = 120000);
