#pragma once
// The one-key shortcuts of the tools. Each key is an action of the main window itself, so it
// chooses its tool whether or not the tool's button is shown (a shortcut of a hidden action
// never fires); the tool actions carry no shortcut of their own, only the key's text for
// their tool tips.

#include <QString>

class QAction;
class QWidget;

namespace ToolKeys {

// A key and the object name of the action it triggers; a menu entry also names the tool
// button whose enabled state it follows.
struct Binding
{
    const char* action;
    const char* key;
    const char* gate = nullptr;
};

// Every tool's key: D E I F R H L Q N U Shift+U C Shift+C J Shift+J O B K P M T.
extern const Binding kBindings[21];

// Makes one key action on `window` per binding, named "Key" + the tool action's name, that
// triggers the tool action (found among the window's children) as a click on its button would:
// a tool disabled by the window's command states stays off. The tool action learns its key
// for its tool tip. Returns the number of bindings made.
int bind(QWidget* window);

// The key of a tool action as shown to the user ("Shift+U"), empty when it has none.
QString keyText(const QAction* a);

// `text` with the action's key in brackets: "Fill (F)".
QString withKey(const QString& text, const QAction* a);

} // namespace ToolKeys
