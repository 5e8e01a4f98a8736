#pragma once
// The help window: shows the page of a help context beside the window that asked for it,
// one window per parent, replaced by the next page asked for.

#include <QDialog>

class QLabel;
class QTextBrowser;
class TStitch;

class THelpWindow : public QDialog
{
    Q_OBJECT
public:
    THelpWindow(TStitch& stitch, QWidget* parent = nullptr);

    // Shows the page of `context` (a page saying that there is no help for an unknown one).
    void showContext(int context);
    int context() const { return m_context; }
    QString title() const;
    QString text() const;

private:
    TStitch& m_stitch;
    int m_context = 0;
    QLabel* m_title = nullptr;
    QTextBrowser* m_text = nullptr;
};

// Opens the help window of `parent` (made on first use) at `context`; it does not block the
// window behind it.
THelpWindow* showHelpContext(QWidget* parent, TStitch& stitch, int context);
