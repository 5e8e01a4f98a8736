#include "TestSupport.h"
#include "BuildConfig.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace testsupport {

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString tempRoot() { return tempDir().path(); }
QString shippedDataDir() { return QStringLiteral(QUILLMARK_SOURCE_DATA_DIR); }
QString testDataDir() { return QStringLiteral(QUILLMARK_TEST_DATA_DIR); }

QString currentTestPath(const QString& suffix)
{
    // Parameterised tests have a '/' in their names.
    QString name = QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
    return tempRoot() + QLatin1Char('/') + name.replace(QLatin1Char('/'), QLatin1Char('_')) + suffix;
}

} // namespace testsupport
