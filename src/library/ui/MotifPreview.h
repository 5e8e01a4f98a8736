#pragma once
// A motif's picture, centred and fitted into the widget with nearest-neighbour scaling.

#include <QImage>
#include <QWidget>

class MotifPreview : public QWidget
{
    Q_OBJECT
public:
    explicit MotifPreview(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    // Where the picture is drawn in the widget (empty without a picture).
    QRect pictureRect() const;
    QSize sizeHint() const override { return {220, 220}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
