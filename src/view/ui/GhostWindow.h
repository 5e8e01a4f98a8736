#pragma once
// The ghost picture in its own window (TFGhost, caption "Shadow image"): the picture alone at
// its own scale s = zoom bar / 100 + 0.02 (0.03 .. 5.02), placed at the view's top-left corner
// on grey, with scroll bars when it does not fit, "1:1" and "Fit".

#include <QImage>
#include <QWidget>

class QLabel;
class TStitch;
class QPushButton;
class QScrollBar;

class TFGhost : public QWidget
{
    Q_OBJECT
public:
    explicit TFGhost(QWidget* parent = nullptr);

    // The ghost picture (shared, as QImage shares; a later change by the caller does not
    // reach the window); the scale is fitted to the view when the window shows.
    void setPicture(const QImage& picture);
    // The caption and the "Fit" button in the current language.
    void translateUi(TStitch& stitch);
    const QImage& picture() const { return m_picture; }

    double scale() const;
    // The zoom bar's position that fits a picture of `picture` into a view of `view`.
    static int fitPosition(QSize picture, QSize view);
    // The zoom label's text for a bar position: s x 100 with one decimal and "%".
    static QString zoomText(int position);

    QScrollBar* zoomBar() const { return ScrollBar1; }
    QScrollBar* hScroll() const { return HScroll; }
    QScrollBar* vScroll() const { return VScroll; }
    QLabel* zoomLabel() const { return LZoom; }
    QPushButton* fitButton() const { return BFit; }
    QPushButton* oneToOneButton() const { return Button1; }

signals:
    // The window was closed while active (the shadow button is released then).
    void closedWhileActive();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BFitClick();
    void ScrollBar1Change();
    QSize viewSize() const;

    QImage m_picture;
    QWidget* Image = nullptr;
    QScrollBar *ScrollBar1 = nullptr, *HScroll = nullptr, *VScroll = nullptr;
    QLabel* LZoom = nullptr;
    QPushButton *Button1 = nullptr, *BFit = nullptr;
    bool m_shownOnce = false;
};
