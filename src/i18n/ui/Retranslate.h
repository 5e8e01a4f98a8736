#pragma once
// Widgets whose caption is the translation of a key: the key is kept on the widget, so that
// the whole window can be translated again when the language changes.

#include <QMessageBox>
#include <QString>

class QWidget;
class TStitch;

// Gives `w` (a label, button, check box, group box or window) the translation of `key` as
// its caption, and keeps the key for retranslate.
void setTextKey(QWidget* w, const QString& key, TStitch& stitch);
// Sets the caption of `root` and of every widget below it that has a key again.
void retranslate(QWidget* root, TStitch& stitch);

// A group box's caption: the translation of `key` with a blank on each side, so that the text
// stands clear of the frame line it is drawn on.
QString groupCaption(TStitch& stitch, const QString& key);

// A modal message box with `buttons` ("OK" alone unless given), their captions in the current
// language; the button pressed (Escape or the title bar's close gives the box's escape button).
QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                           const QString& text, TStitch& stitch,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok);
