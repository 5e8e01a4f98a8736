#pragma once
// Helpers shared by the tests: a temporary home for settings and data, and the shipped data.

#include <QString>

namespace testsupport {
// The temporary folder of this test run (removed at exit); settings and data folders point here.
QString tempRoot();
// The shipped data folder of the source tree (palettes, character sets, fonts ...).
QString shippedDataDir();
// The test data folder of the source tree.
QString testDataDir();
// A path in tempRoot() named after the running test, followed by `suffix` (".ini" for a
// settings file, empty for a folder): each test gets its own files.
QString currentTestPath(const QString& suffix = QString());
}
