#pragma once
// The help window: the help pages (HTML) of the current language in a text browser, opened
// at the page of a help context beside the window that asked for it, one window per parent,
// replaced by the next page asked for. Links between pages follow the same fallback to the
// English page as the contexts.

#include <QDialog>

class QPushButton;
class QTextBrowser;
class TStitch;

class THelpWindow : public QDialog
{
    Q_OBJECT
public:
    THelpWindow(TStitch& stitch, QWidget* parent = nullptr);

    // Shows the page of `context` (a page saying that there is no help for an unknown one or
    // a missing file).
    void showContext(int context);
    int context() const { return m_context; }
    // The shown page's title and text, and its file (empty when no page was found).
    QString title() const;
    QString text() const;
    QString pagePath() const { return m_path; }
    QTextBrowser* browser() const { return m_text; }
    // Captions, and the page again in the current language.
    void translateUi();

private:
    TStitch& m_stitch;
    int m_context = 0;
    QString m_path;
    QTextBrowser* m_text = nullptr;
    QPushButton* m_contents = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_close = nullptr;
};

// Opens the help window of `parent` (made on first use) at `context`; it does not block the
// window behind it.
THelpWindow* showHelpContext(QWidget* parent, TStitch& stitch, int context);
