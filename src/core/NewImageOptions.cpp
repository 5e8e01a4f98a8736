#include "NewImageOptions.h"

#include "TStitch.h"

namespace {

QString preselect(const QStringList& names, const QString& wanted)
{
    if (names.contains(wanted))
        return wanted;
    return names.isEmpty() ? QString() : names.first();
}

} // namespace

NewImageOptions NewImageOptions::defaultsFrom(const TStitch& stitch, bool knittingMode)
{
    NewImageOptions o;
    o.paletteNames = stitch.ColorPalettes.keys();
    o.characterNames = stitch.characters.keys();
    o.palette = preselect(o.paletteNames, stitch.defaultPalette);
    o.characters = preselect(o.characterNames, stitch.defaultCharacters);
    o.knitting = knittingMode;
    return o;
}

QString NewImageOptions::validate() const
{
    if (width < kMinSize || width > kMaxSize)
        return QStringLiteral("The width must be from %1 to %2.").arg(kMinSize).arg(kMaxSize);
    if (height < kMinSize || height > kMaxSize)
        return QStringLiteral("The height must be from %1 to %2.").arg(kMinSize).arg(kMaxSize);
    if (!paletteNames.contains(palette))
        return QStringLiteral("Choose a palette.");
    if (!characterNames.contains(characters))
        return QStringLiteral("Choose a character set.");
    return {};
}
