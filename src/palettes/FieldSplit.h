#pragma once
// Splits a line of a palette or character-set file into fields: commas separate fields,
// blanks (codes 1 to 32) separate unquoted fields too and are skipped around commas, a field
// may be quoted (two quotes inside stand for one; a missing closing quote runs to the end),
// ",," gives an empty field and a final comma a last empty one.

#include <QStringList>

QStringList splitDelimitedFields(const QString& line, QChar delimiter = QLatin1Char(','),
                                 QChar quote = QLatin1Char('"'));
// The inverse for one field: quoted when it holds a blank, delimiter or quote, or is empty.
QString quoteField(const QString& field, QChar quote = QLatin1Char('"'));
