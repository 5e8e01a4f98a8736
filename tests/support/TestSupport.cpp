#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

namespace testsupport {

QTemporaryDir& tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString tempRoot() { return tempDir().path(); }
QString shippedDataDir() { return QStringLiteral(QUILLMARK_SOURCE_DATA_DIR); }
QString testDataDir() { return QStringLiteral(QUILLMARK_TEST_DATA_DIR); }

} // namespace testsupport
