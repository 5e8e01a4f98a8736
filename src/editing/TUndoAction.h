#pragma once
// Base of every recorded change. An action holds values and positions (never pointers into
// the design) and plays its change both ways on the document it is given.

#include <QString>

class PatternDocument;

class TUndoAction
{
public:
    virtual ~TUndoAction() = default;
    // Takes the change back.
    virtual void Undo(PatternDocument& doc) = 0;
    // Applies the change (again).
    virtual void Execute(PatternDocument& doc) = 0;
    // A short name for the change (menus and tests).
    virtual QString name() const = 0;
};
