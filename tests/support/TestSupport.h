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
}
