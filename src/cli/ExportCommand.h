#pragma once
// quillmark-cli export: a design's pages as numbered pictures in a folder or one PDF file.

#include <QString>
#include <QStringList>

class Session;

int commandExport(Session& session, const QStringList& args);
