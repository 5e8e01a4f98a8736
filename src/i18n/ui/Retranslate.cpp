#include "Retranslate.h"

#include "core/TStitch.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace {

const char* const kTextKey = "translationKey";

void apply(QWidget* w, TStitch& stitch)
{
    const QVariant key = w->property(kTextKey);
    if (!key.isValid())
        return;
    const QString text = stitch.translate(key.toString());
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
    else if (w->isWindow())
        w->setWindowTitle(text);
}

} // namespace

void setTextKey(QWidget* w, const QString& key, TStitch& stitch)
{
    w->setProperty(kTextKey, key);
    apply(w, stitch);
}

void retranslate(QWidget* root, TStitch& stitch)
{
    apply(root, stitch);
    for (QWidget* w : root->findChildren<QWidget*>())
        apply(w, stitch);
}

QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                           const QString& text, TStitch& stitch,
                                           QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    const struct { QMessageBox::StandardButton button; const char* text; } captions[] = {
        {QMessageBox::Ok, "OK"}, {QMessageBox::Yes, "Yes"}, {QMessageBox::No, "No"},
        {QMessageBox::Cancel, "Cancel"}};
    for (const auto& c : captions)
        if (QAbstractButton* b = box.button(c.button))
            b->setText(stitch.translate(QString::fromLatin1(c.text)));
    return QMessageBox::StandardButton(box.exec());
}

QString groupCaption(TStitch& stitch, const QString& key)
{
    return QLatin1Char(' ') + stitch.translate(key) + QLatin1Char(' ');
}
