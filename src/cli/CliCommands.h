#pragma once
// The commands of quillmark-cli. Exit codes: 0 success, 1 wrong usage, 2 unreadable input or a
// failed write (one line on stderr).

#include <QStringList>

int runCli(const QStringList& arguments);

class Session;
// For the commands in files of their own: a usage error (exit 1) and the start-up
// initialisation with its warnings on stderr.
int cliUsageError(const QString& message);
void cliInitialise(Session& session);
