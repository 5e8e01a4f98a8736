#include "HelpTopics.h"

#include "core/DataPaths.h"
#include "core/TStitch.h"

#include <QFileInfo>

namespace {

const QString kEnglish = QStringLiteral("english");

} // namespace

const QList<HelpTopic>& helpTopics()
{
    static const QList<HelpTopic> topics = {
        {kHelpContents, "index.html"},
        {295, "update-check.html"},
        {1400, "text-tool.html"},
        {3100, "characters-editor.html"},
        {3150, "cmyk-colors.html"},
        {3200, "print.html"},
        {3300, "new-design.html"},
        {3400, "design-settings.html"},
        {3600, "change-character.html"},
        {3700, "options.html"},
        {3800, "motif-library.html"},
        {3900, "add-to-library.html"},
        {4200, "palette-editor.html"},
        // The four steps of the conversion wizard.
        {5100, "convert-crop.html"},
        {5200, "convert-brightness.html"},
        {5300, "convert-size.html"},
        {5400, "convert-colors.html"},
    };
    return topics;
}

const HelpTopic* findHelpTopic(int context)
{
    for (const HelpTopic& t : helpTopics())
        if (t.context == context)
            return &t;
    return nullptr;
}

QString helpLanguage(const TStitch& stitch)
{
    const QString name = QFileInfo(stitch.DefaultLanguage).completeBaseName();
    return name.isEmpty() ? kEnglish : name;
}

QString helpFolder(const TStitch& stitch, const QString& language)
{
    // Without a help folder in the settings the shipped help stands in.
    const QString root = stitch.HelpPath.isEmpty() ? findShippedDataDir() + QStringLiteral("/help/")
                                                   : stitch.HelpPath;
    return root + language + QLatin1Char('/');
}

QString helpPagePath(const TStitch& stitch, const QString& page)
{
    for (const QString& language : {helpLanguage(stitch), kEnglish}) {
        const QString path = helpFolder(stitch, language) + page;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString helpContextPath(const TStitch& stitch, int context)
{
    const HelpTopic* topic = findHelpTopic(context);
    return topic ? helpPagePath(stitch, QString::fromLatin1(topic->page)) : QString();
}
