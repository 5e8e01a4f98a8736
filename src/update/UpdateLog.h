#pragma once
// The log of the update check: the background check and the start-up step that applies
// downloaded updates report here instead of interrupting the user.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcUpdate)
