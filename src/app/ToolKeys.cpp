#include "ToolKeys.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace ToolKeys {

namespace {
const char* kKeyProperty = "toolKey";
}

const Binding kBindings[21] = {
    {"ButtonDraw", "D"},           {"ButtonErase", "E"},
    {"ButtonPipette", "I"},        {"ButtonFill", "F"},
    {"ButtonSwitchColors", "R"},   {"ButtonCursor", "H"},
    {"ButtonHighlight", "L"},      {"ButtonDrawQuarter", "Q"},
    {"ButtonDrawLine", "N"},       {"MenuRectangle", "U", "ButtonDrawRectangle"},
    {"MenuFilledRectangle", "Shift+U", "ButtonDrawRectangle"},
    {"MenuCircle", "C", "ButtonDrawCircle"},
    {"MenuFilledCircle", "Shift+C", "ButtonDrawCircle"},
    {"ButtonInlineBorder", "J"},
    {"ButtonOutlineBorder", "Shift+J"}, {"ButtonOutline", "O"},
    {"ButtonBackStitchDraw", "B"}, {"ButtonKnot", "K"},
    {"ButtonRhode", "P"},          {"ButtonSelection", "M"},
    {"ButtonText", "T"},
};

int bind(QWidget* window)
{
    int made = 0;
    for (const Binding& b : kBindings) {
        const QString name = QString::fromLatin1(b.action);
        QAction* tool = window->findChild<QAction*>(name);
        if (!tool)
            continue;
        const QKeySequence key(QString::fromLatin1(b.key));
        tool->setProperty(kKeyProperty, key);
        auto* k = new QAction(window);
        k->setObjectName(QStringLiteral("Key") + name);
        k->setShortcut(key);
        k->setShortcutContext(Qt::WindowShortcut);
        window->addAction(k);
        // As a click on the button: a checkable tool is pressed (the highlight toggled). A
        // hidden tool action counts as disabled but still triggers; one the command states
        // switched off does not.
        QAction* gate = b.gate ? window->findChild<QAction*>(QString::fromLatin1(b.gate)) : nullptr;
        QObject::connect(k, &QAction::triggered, tool, [tool, gate] {
            if (!gate || gate->isEnabled())
                tool->trigger();
        });
        ++made;
    }
    return made;
}

QString keyText(const QAction* a)
{
    const QVariant v = a->property(kKeyProperty);
    return v.isValid() ? v.value<QKeySequence>().toString(QKeySequence::NativeText) : QString();
}

QString withKey(const QString& text, const QAction* a)
{
    const QString key = keyText(a);
    return key.isEmpty() ? text : text + QStringLiteral(" (") + key + QLatin1Char(')');
}

} // namespace ToolKeys
