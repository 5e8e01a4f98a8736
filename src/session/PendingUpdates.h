#pragma once
// The start-up step that applies downloaded help pages and palettes: only the files the
// program's own manifest lists, each checked again (its place in the pending-updates folder,
// its SHA-256, its size and format) and copied into the data folder file that its kind and
// name give, whatever else the manifest says. Nothing is executed. The folder is emptied
// afterwards, applied or not, so a failing update is not tried at every start; what happened
// goes to the update log.

#include <QStringList>

class TStitch;

struct PendingUpdatesResult
{
    QStringList applied; // destination files written
    QStringList refused; // messages (English) of entries not applied
};

// Applies the manifest "<PathData>updates/updates.xml" when there is one, records the applied
// versions in "<PathData>CurrentVersion.xml" and removes the pending-updates folder.
PendingUpdatesResult applyPendingUpdates(TStitch& stitch);
