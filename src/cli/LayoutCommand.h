#pragma once
// quillmark-cli layout: the page table of a design as one JSON object.

#include <QJsonObject>
#include <QStringList>

class Session;
class TPreview;

int commandLayout(Session& session, const QStringList& args);

// The page table and the metrics of a layout run, as `layout` prints them.
QJsonObject layoutJson(const TPreview& preview);
