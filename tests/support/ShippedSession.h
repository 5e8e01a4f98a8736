#pragma once
// A session over the shipped data with settings of the running test's own, started with a new
// design: what the conversion and dialog tests work in.

#include "TestSupport.h"
#include "session/Session.h"

#include <memory>

namespace testsupport {
inline std::unique_ptr<Session> startShippedSession()
{
    Session::Options o;
    o.settingsFile = currentTestPath(QStringLiteral(".ini"));
    o.dataDir = shippedDataDir();
    auto session = std::make_unique<Session>(o);
    session->initialiseWithNewDesign();
    return session;
}
} // namespace testsupport
