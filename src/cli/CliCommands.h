#pragma once
// The commands of quillmark-cli. Exit codes: 0 success, 1 wrong usage, 2 unreadable input or a
// failed write (one line on stderr).

#include <QStringList>

int runCli(const QStringList& arguments);
