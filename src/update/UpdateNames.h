#pragma once
// Names that downloaded updates may carry. A file name from the server becomes a file in a
// data folder, so it must be a plain name of that folder: no separator, no ".." or leading
// dot, no drive or control character, and the extension of its kind.

#include "VersionInfo.h"

#include <QString>

// A plain file name with the extension of `type` (".ctb" for palettes, ".html" or ".htm" for
// help pages); programs have no file the check accepts.
bool isPlainUpdateFileName(const QString& name, TUpdateType type);
// A help language: letters, digits, "-" and "_" only (it names a folder of the help).
bool isPlainLanguageName(const QString& name);
// `folder` + `name` when the result lies directly in `folder`; empty otherwise (and when
// `folder` is empty). `folder` ends with a separator, as the data folders do.
QString fileInFolder(const QString& folder, const QString& name);
