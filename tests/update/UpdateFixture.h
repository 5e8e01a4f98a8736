#pragma once
// The update tests' world: a state object whose per-user and data folders lie in the running
// test's own folder, a settings file naming the loopback server, and small valid update files.

#include "core/SettingsStore.h"
#include "core/TStitch.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestSupport.h"
#include "update/UpdateChecker.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace updatetest {

inline QByteArray paletteBytes(const QByteArray& name)
{
    return ";$N" + name + "\r\n;$V2\r\n\"Snow White\", B5200, 255, 255, 255, 93\r\n\"Black\", 310, 0, 0, 0, 12\r\n";
}

inline QByteArray helpPageBytes(const QByteArray& title)
{
    return "<!DOCTYPE html>\n<html><head><title>" + title + "</title></head><body><p>" + title
        + " \xc3\xa4</p></body></html>\n";
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class UpdateFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = testsupport::currentTestPath();
        QDir(m_dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir + QStringLiteral("/palettes")));
        ASSERT_TRUE(QDir().mkpath(m_dir + QStringLiteral("/help/english")));
        st.PathData = m_dir + QStringLiteral("/appdata/");
        st.PalettesPath = m_dir + QStringLiteral("/palettes/");
        st.HelpPath = m_dir + QStringLiteral("/help/");
        QDir().mkpath(st.PathData);
        const QString ini = m_dir + QStringLiteral("/settings.ini");
        store = std::make_unique<SettingsStore>(ini);
        store->writeInteger(QStringLiteral("maxColors"), 600);
        store->writeString(UpdateChecker::kServerSetting, server.baseAddress());
        store->sync();
        checker = std::make_unique<UpdateChecker>(st, *store);
        TVersionInfo installed;
        installed.Name = QStringLiteral("Quillmark");
        installed.Major = 5;
        installed.Minor = 1;
        installed.Release = 3;
        checker->setInstalledProgram(installed);
    }

    // Runs a check to its end; the result and message of checkFinished.
    bool runCheck(QString* message = nullptr, int waitMs = 10000)
    {
        bool done = false, ok = false;
        QString text;
        auto c = QObject::connect(checker.get(), &UpdateChecker::checkFinished,
                                  [&](bool good, const QString& m) { done = true; ok = good; text = m; });
        EXPECT_TRUE(checker->check());
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, waitMs));
        QObject::disconnect(c);
        if (message)
            *message = text;
        return ok;
    }

    // Runs a download to its end; its code and message.
    int runDownload(const QList<TVersionInfo>& items, QString* message = nullptr)
    {
        bool done = false;
        int code = -1;
        QString text;
        auto c = QObject::connect(checker.get(), &UpdateChecker::downloadFinished,
                                  [&](int result, const QString& m) { done = true; code = result; text = m; });
        EXPECT_TRUE(checker->download(items));
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        QObject::disconnect(c);
        if (message)
            *message = text;
        return code;
    }

    TVersionInfo item(TUpdateType type, const QString& name, const QString& file, const QString& path,
                      int major = 5, int minor = 0, int release = 1)
    {
        TVersionInfo v;
        v.updateType = type;
        v.Name = name;
        v.Filename = file;
        v.URL = server.baseAddress() + path;
        v.Major = major;
        v.Minor = minor;
        v.Release = release;
        return v;
    }

    QString m_dir;
    LoopbackHttpServer server;
    TStitch st;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<UpdateChecker> checker;
};

} // namespace updatetest
