#pragma once
// The "Real Preview" window: the design as it will look stitched (RealPreview draws it), in a
// scroll area on grey at scale 1, a vertical zoom bar (5 .. 50, start 8), zoom by the mouse
// wheel about the point under the mouse, and "Save as JPEG ...". Drawing lets the window
// process its events between steps; a zoom change meanwhile starts the drawing again.

#include "view/RealPreview.h"

#include <QDialog>
#include <functional>

class PatternDocument;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;

class TFRealPreview : public QDialog
{
    Q_OBJECT
public:
    explicit TFRealPreview(PatternDocument& doc, QWidget* parent = nullptr);
    ~TFRealPreview() override;

    // Draws the preview at the zoom bar's value; while a drawing runs, asks it to restart. A
    // picture too large to hold is reported, and the window then shows none.
    void redraw();
    bool drawing() const { return m_drawing; }
    const QImage& picture() const { return m_preview.picture(); }
    const RealPreview& preview() const { return m_preview; }

    // One wheel step over the picture at `mouse` (relative to the scroll area's view): the zoom
    // moves by `step` (+1 up, -1 down) and the design point under the mouse stays in place.
    void wheelZoom(int step, QPoint mouse);
    // The scroll position that keeps the point under `mouse` when the zoom goes from z to z2:
    // (p + m) div z x z2 - m.
    static int keptScroll(int position, int mouse, int zoom, int newZoom);

    // "Save as JPEG ...": asks for a file, then saveAsJpeg().
    void SaveClick();
    // Writes the picture as JPEG (quality 90) under `chosen` with its extension replaced by
    // ".jpg", creating the file's folder (one level) when missing. The file is written
    // safely (an existing one stays intact when the write fails). A failure is shown in a
    // message box naming the file; returns the file written, or an empty string.
    QString saveAsJpeg(const QString& chosen);
    static QString jpegFileName(const QString& chosen);

    // Where messages go (a message box by default; tests catch them).
    std::function<void(const QString&)> showMessage;

    QSlider* zoomBar() const { return m_zoom; }
    QScrollArea* scrollBox() const { return m_scroll; }
    QLabel* image() const { return m_image; }
    QPushButton* saveButton() const { return m_save; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void translateUi();

    PatternDocument& m_doc;
    RealPreview m_preview;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_image = nullptr;
    QSlider* m_zoom = nullptr;
    QPushButton* m_save = nullptr;
    bool m_drawing = false;
    bool m_restart = false;
    bool m_closing = false;
    // Scroll positions to take once the picture at the new zoom is shown (wheel zoom).
    QPoint m_pendingScroll{-1, -1};
};
