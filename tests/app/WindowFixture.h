#pragma once
// The main window as the window tests start it: a fresh settings file, the shipped data, shown
// and active.

#include "app/MainWindow.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <memory>

namespace apptest {

// Removes `settings` and opens a main window over it and the shipped data; the caller waits
// until it is exposed.
inline std::unique_ptr<MainWindow> showFreshMainWindow(const QString& settings)
{
    QFile::remove(settings);
    auto w = std::make_unique<MainWindow>(Session::Options{settings, testsupport::shippedDataDir()});
    w->show();
    QApplication::setActiveWindow(w.get());
    return w;
}

}
