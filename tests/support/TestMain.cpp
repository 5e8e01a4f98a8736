// Test main shared by every test executable: a GUI application (a widgets one for widget
// tests) on the offscreen platform (glyphs and pictures need one), with the user's home and settings redirected to a
// temporary folder so that no test touches the real ones.
#include "TestSupport.h"

#ifdef QUILLMARK_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray root = testsupport::tempRoot().toLocal8Bit();
    qputenv("HOME", root);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    // A private runtime folder, as a desktop session would give.
    QDir().mkpath(QString::fromLocal8Bit(root + "/runtime"));
    QFile::setPermissions(QString::fromLocal8Bit(root + "/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    QStandardPaths::setTestModeEnabled(true);
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
