#include "support/CliRunner.h"

#include "support/TestSupport.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace testsupport {

QStringList CliRun::lines() const
{
    return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
}

CliRun runCli(const QString& program, const QString& settingsFile, const QStringList& args,
              int timeoutMs, std::function<void()> inChild)
{
    QProcess p;
    p.setProgram(program);
    p.setArguments(QStringList{"--settings", settingsFile, "--data", shippedDataDir()} + args);
    if (inChild)
        p.setChildProcessModifier(inChild);
    p.start();
    EXPECT_TRUE(p.waitForFinished(timeoutMs)) << program.toStdString() << " did not finish";
    CliRun r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

}
