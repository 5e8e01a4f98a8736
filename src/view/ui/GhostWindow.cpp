#include "GhostWindow.h"

#include "core/ColorTypes.h"
#include "i18n/ui/Retranslate.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

TFGhost::TFGhost(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Shadow image"));
    resize(480, 400);
    Image = new QWidget;
    Image->setAutoFillBackground(false);
    Image->installEventFilter(this);
    Image->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    HScroll = new QScrollBar(Qt::Horizontal);
    VScroll = new QScrollBar(Qt::Vertical);
    ScrollBar1 = new QScrollBar(Qt::Vertical);
    ScrollBar1->setRange(1, 500);
    ScrollBar1->setValue(98);
    LZoom = new QLabel;
    Button1 = new QPushButton(QStringLiteral("1:1"));
    BFit = new QPushButton(QStringLiteral("Fit"));

    auto* left = new QVBoxLayout;
    left->addWidget(ScrollBar1, 1, Qt::AlignHCenter);
    left->addWidget(LZoom);
    left->addWidget(Button1);
    left->addWidget(BFit);
    auto* grid = new QGridLayout(this);
    grid->addLayout(left, 0, 0, 2, 1);
    grid->addWidget(Image, 0, 1);
    grid->addWidget(VScroll, 0, 2);
    grid->addWidget(HScroll, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TFGhost::ScrollBar1Change);
    connect(HScroll, &QScrollBar::valueChanged, Image, qOverload<>(&QWidget::update));
    connect(VScroll, &QScrollBar::valueChanged, Image, qOverload<>(&QWidget::update));
    connect(Button1, &QPushButton::clicked, this, [this] {
        ScrollBar1->setValue(98);
        ScrollBar1Change();
    });
    connect(BFit, &QPushButton::clicked, this, &TFGhost::BFitClick);
    ScrollBar1Change();
}

void TFGhost::translateUi(TStitch& stitch)
{
    setTextKey(this, QStringLiteral("Shadow image"), stitch);
    setTextKey(BFit, QStringLiteral("Fit"), stitch);
}

void TFGhost::setPicture(const QImage& picture)
{
    // Shared, not copied: nothing writes to it, and a later change of the caller's picture
    // detaches that one, so the window keeps what it was given.
    m_picture = picture;
    if (isVisible())
        BFitClick();
}

double TFGhost::scale() const
{
    return ScrollBar1->value() / 100.0 + 0.02;
}

int TFGhost::fitPosition(QSize picture, QSize view)
{
    if (picture.isEmpty())
        return 98;
    const double s = std::min(double(view.width()) / picture.width(), double(view.height()) / picture.height());
    return std::clamp(int(std::floor((s - 0.02) * 100.0 + 1e-9)), 1, 500);
}

QString TFGhost::zoomText(int position)
{
    const double s = position / 100.0 + 0.02;
    return QLocale().toString(s * 100.0, 'f', 1) + QLatin1Char('%');
}

QSize TFGhost::viewSize() const
{
    return Image->size();
}

void TFGhost::BFitClick()
{
    ScrollBar1->setValue(fitPosition(m_picture.size(), viewSize()));
    ScrollBar1Change();
}

void TFGhost::ScrollBar1Change()
{
    const double s = scale();
    const QSize view = viewSize();
    auto adjust = [](QScrollBar* bar, double extent, int viewExtent) {
        const bool on = extent > viewExtent;
        bar->setEnabled(on);
        if (!on) {
            bar->setValue(0);
            return;
        }
        // Maximum and page size together; the position then keeps the picture's end in view.
        const int total = Rnd(extent);
        bar->setPageStep(viewExtent);
        bar->setRange(0, std::max(0, total - viewExtent));
        if (bar->value() + viewExtent > extent)
            bar->setValue(std::max(0, total - viewExtent));
    };
    adjust(HScroll, m_picture.width() * s, view.width());
    adjust(VScroll, m_picture.height() * s, view.height());
    LZoom->setText(zoomText(ScrollBar1->value()));
    Image->update();
}

void TFGhost::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!m_shownOnce) {
        // Centred on the screen the first time it shows.
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    m_shownOnce = true;
    BFitClick();
}

void TFGhost::closeEvent(QCloseEvent* e)
{
    if (isActiveWindow())
        emit closedWhileActive();
    QWidget::closeEvent(e);
}

bool TFGhost::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Image && e->type() == QEvent::Paint) {
        QPainter p(Image);
        p.fillRect(Image->rect(), Qt::gray);
        if (!m_picture.isNull()) {
            const double s = scale();
            const QRectF target(-HScroll->value(), -VScroll->value(), m_picture.width() * s,
                                m_picture.height() * s);
            p.setRenderHint(QPainter::SmoothPixmapTransform, s < 1.0);
            p.drawImage(target, m_picture);
        }
        return true;
    }
    if (watched == Image && e->type() == QEvent::Resize && m_shownOnce)
        ScrollBar1Change();
    return QWidget::eventFilter(watched, e);
}
