#pragma once
// Writing a whole file safely: the data go to a temporary file beside the target, which
// replaces the target only after a complete, flushed write, so a failed write (a full disk,
// a read-only folder) leaves the old file as it was.

#include <QByteArray>
#include <QString>

// Throws QuillError ("Cannot write the <what> "<path>": <reason>.") when the file cannot be
// written.
void writeFileSafely(const QString& path, const QByteArray& data, const QString& what);

// Several files, each written safely; all are prepared and flushed before the first one
// replaces its target, so a failure before that point changes none of them.
void writeFilesSafely(const QList<std::pair<QString, QByteArray>>& files, const QString& what);
