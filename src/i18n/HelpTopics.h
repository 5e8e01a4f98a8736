#pragma once
// The help pages: HTML files per language under the help folder ("<HelpPath><language>/"),
// a table of contents and one page per help context of the dialogs. A page missing in the
// current language is taken from the English help.

#include <QList>
#include <QString>

class TStitch;

// The context of the table of contents (F1 and "Index ..." of the main window).
inline constexpr int kHelpContents = 0;

struct HelpTopic
{
    int context;
    const char* page; // file name of the page in each language's folder
};

// Every help context with its page, the table of contents first.
const QList<HelpTopic>& helpTopics();

// The topic of a context number, or nullptr when there is no page for it.
const HelpTopic* findHelpTopic(int context);

// The help language of the current language file: its name without extension ("deutsch"
// for "deutsch.lang"); "english" when none is chosen.
QString helpLanguage(const TStitch& stitch);

// The folder of the help pages of a language ("<HelpPath><language>/"; the shipped help
// folder when HelpPath is empty).
QString helpFolder(const TStitch& stitch, const QString& language);

// The file of `page` in the current language, or the English one when the language has none;
// empty when neither exists.
QString helpPagePath(const TStitch& stitch, const QString& page);

// The file of the page of `context` (see helpPagePath); empty for an unknown context.
QString helpContextPath(const TStitch& stitch, int context);
