#include "ToolTipTime.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

void ToolTipTime::install()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<ToolTipTime*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new ToolTipTime(app));
}

// A widget shows its tool tip for its own duration: it is set just before the widget handles
// the request, so widgets made at any time follow the rule.
bool ToolTipTime::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->toolTipDuration() != kMilliseconds)
            w->setToolTipDuration(kMilliseconds);
    }
    return false;
}
