#pragma once
// The pages of the built-in help, by context number: a title and a text, both translation
// keys. Shown by the help window until the help files of the languages are read.

#include <QString>

struct HelpTopic
{
    int context;
    const char* title; // translation key
    const char* text;  // translation key
};

// The topic of a context number, or nullptr when there is no page for it.
const HelpTopic* findHelpTopic(int context);
