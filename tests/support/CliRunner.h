#pragma once
// Runs quillmark-cli as a separate process, the way a user's shell would, and keeps what it said.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace testsupport {

struct CliRun
{
    int exitCode = -1;  // -1 when the program crashed or did not finish
    QByteArray out, err;
    QStringList lines() const;
};

// Runs `program` with "--settings settingsFile --data <shipped data>" before `args`.
// `inChild`, when given, runs in the child process before the program starts.
CliRun runCli(const QString& program, const QString& settingsFile, const QStringList& args,
              int timeoutMs = 60000, std::function<void()> inChild = {});

}
