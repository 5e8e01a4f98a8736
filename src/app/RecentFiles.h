#pragma once
// The recent-files list: full paths, most recent first, at most kMaxRecentFiles entries.

#include <QStringList>

inline constexpr int kMaxRecentFiles = 11;

// Puts `path` at the top of `list`: the list is first cut to its first 10 entries, an entry
// for the same file further down is removed, and a path that is already first stays as it is.
// Returns true when the list changed (the "Reopen ..." menu is then rebuilt).
bool insertRecentFile(QStringList& list, const QString& path);
// Paths name the same file: without regard to case where the file system ignores it.
bool sameRecentFile(const QString& a, const QString& b);
