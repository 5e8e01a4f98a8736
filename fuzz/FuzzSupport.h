#pragma once
// Shared pieces of the libFuzzer targets: the Qt application object every reader needs, a
// scratch file for readers that take a file name, and the report of a broken property.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Writes `bytes` into a file called `name` in a folder made once per run (in memory when
// /dev/shm exists, so the disk is not worn by millions of writes) and returns its path.
inline QString scratchFile(const QByteArray& bytes, const QString& name)
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quillmark-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quillmark-fuzz-XXXXXX"));
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

// A property of the reader that the input broke: a finding, like a crash.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

} // namespace fuzzsupport
