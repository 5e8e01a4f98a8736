// The stitch tools of the main window: back stitches, French knots and Rhodes stitches, their
// preview over the chart, the Rhodes menu of the tool bar and the Rhodes editor.
#include "MainWindow.h"

#include "editing/ToolController.h"
#include "editing/ui/TFRhodesEditor.h"
#include "view/ChartView.h"
#include "view/RhodeIcon.h"
#include "view/StitchPreview.h"

#include <QAction>
#include <QActionGroup>
#include <QBitmap>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

namespace {

// A stitch tool: its mode, action name and hint (translation key). The keys are bound by
// ToolKeys.
struct StitchToolDef
{
    TMode mode;
    const char* name;
    const char* hint;
};

const StitchToolDef kStitchTools[] = {
    {modBackStitch, "ButtonBackStitchDraw", "Draw Back Stitches"},
    {modFrenchKnot, "ButtonKnot", "Draw french knot"},
    {modRhode, "ButtonRhode", "Draw rhode"},
};

// The tool-bar places of the stitch buttons (hidden in this product; the keys still work).
const char* const kPlaceNames[] = {"PlaceBackStitchDraw", "PlaceKnot", "PlaceRhode"};

const QColor kInk(0x30, 0x30, 0x40);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kGridInk(0x90, 0x90, 0xA0);
const QColor kGreen(0x30, 0x98, 0x48);
const QColor kOrange(0xF6, 0x89, 0x21);

// The 24 x 24 tool icons, drawn like the other tools: a small chart of 3 x 3 cells with the
// stitch on it.
QIcon stitchToolIcon(TMode mode)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(2.5, 2.5, 19, 19);
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(kGridInk, 1));
    const qreal step = r.width() / 3;
    for (int i = 1; i < 3; ++i) {
        p.drawLine(QPointF(r.left() + i * step, r.top()), QPointF(r.left() + i * step, r.bottom()));
        p.drawLine(QPointF(r.left(), r.top() + i * step), QPointF(r.right(), r.top() + i * step));
    }
    switch (mode) {
    case modBackStitch:
        // A chain of two stitches and the pencil's point at its end.
        p.setPen(QPen(kGreen, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 19), QPointF(12, 12));
        p.drawLine(QPointF(12, 12), QPointF(19, 5));
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xE8, 0xB0, 0x30));
        p.drawPolygon(QPolygonF({QPointF(19, 5), QPointF(23, 1), QPointF(23, 5), QPointF(21, 7)}));
        break;
    case modFrenchKnot:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xC8, 0x30, 0x30));
        p.drawEllipse(QPointF(r.left() + step, r.top() + step), 3.2, 3.2);
        p.drawEllipse(QPointF(r.left() + 2 * step, r.top() + 2 * step), 3.2, 3.2);
        break;
    default: {
        // A Rhodes stitch turning once round the centre of the chart.
        p.setPen(QPen(kOrange, 1.6, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = r.center();
        for (int i = 0; i < 6; ++i) {
            const qreal t = i / 6.0;
            const QPointF a(r.left() + t * r.width(), r.top()), b(2 * c.x() - a.x(), r.bottom());
            p.drawLine(a, b);
            const QPointF e(r.right(), r.top() + t * r.height()), f(r.left(), 2 * c.y() - e.y());
            p.drawLine(e, f);
        }
        break;
    }
    }
    return QIcon(pm);
}

// A Rhodes definition's menu icon, its magenta background transparent.
QIcon rhodeMenuIcon(const TRhode& definition)
{
    QPixmap pm = QPixmap::fromImage(RhodeIcon::draw(definition));
    pm.setMask(pm.createMaskFromColor(QColor(255, 0, 255)));
    return QIcon(pm);
}

} // namespace

void MainWindow::createStitchActions()
{
    m_stitchPreview = std::make_unique<StitchPreview>();
    m_view->setStitchPreviewOverlay(m_stitchPreview.get());
    connect(m_tools, &ToolController::stitchPreviewChanged, this,
            [this](const QList<QLine>& lines, int pen) {
                const ChartGeometry g = m_view->geometry();
                const QRect dirty = lines.isEmpty()
                    ? m_stitchPreview->clear(g)
                    : m_stitchPreview->setLines(lines, stitch().drawcolor(), pen, g);
                if (!dirty.isEmpty())
                    m_view->repaintRect(dirty);
            });

    for (const StitchToolDef& t : kStitchTools) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(t.name));
        a->setProperty("hintKey", QString::fromLatin1(t.hint));
        a->setProperty("toolMode", int(t.mode));
        a->setCheckable(true);
        a->setIcon(stitchToolIcon(t.mode));
        m_toolGroup->addAction(a);
        const TMode mode = t.mode;
        connect(a, &QAction::triggered, this, [this, mode] {
            if (mode == modBackStitch)
                ButtonBackStitchDrawClick();
            else
                Setmode(mode);
        });
    }

    // The back stitches stay shown while back stitches are being drawn.
    QAction* shown = action(QStringLiteral("ButtonBackStitch"));
    connect(shown, &QAction::toggled, this, [this, shown](bool on) {
        if (!on && m_tools->mode() == modBackStitch)
            shown->setChecked(true);
    });

    m_rhodesMenu = new QMenu(this);
    m_rhodesMenu->setObjectName(QStringLiteral("PopupRhodes"));

    connect(action(QStringLiteral("Rhodeseditor1")), &QAction::triggered, this,
            &MainWindow::Rhodeseditor1Click);
}

void MainWindow::createStitchButtons()
{
    for (size_t i = 0; i < std::size(kStitchTools); ++i) {
        auto* button = new QToolButton(m_toolBar);
        button->setObjectName(QString::fromLatin1(kStitchTools[i].name));
        button->setDefaultAction(action(QString::fromLatin1(kStitchTools[i].name)));
        button->setAutoRaise(true);
        if (kStitchTools[i].mode == modRhode) {
            m_rhodeButton = button;
            button->setMenu(m_rhodesMenu);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        QAction* place = m_toolBar->addWidget(button);
        place->setObjectName(QString::fromLatin1(kPlaceNames[i]));
    }
}

void MainWindow::hideStitchButtons()
{
    for (const char* name : kPlaceNames)
        if (QAction* a = action(QString::fromLatin1(name)))
            a->setVisible(false);
}

void MainWindow::ButtonBackStitchDrawClick()
{
    QAction* shown = action(QStringLiteral("ButtonBackStitch"));
    if (!shown->isChecked())
        shown->setChecked(true);
    Setmode(modBackStitch);
}

void MainWindow::MenuItemRhodeClick(int position)
{
    Setmode(modRhode);
    m_tools->setCurrentRhode(position);
    RhodeButtonUpdateImage(position);
}

void MainWindow::RhodeButtonUpdateImage(int position)
{
    const TRhodeList& catalogue = stitch().RhodeCatalogue;
    QAction* a = action(QStringLiteral("ButtonRhode"));
    if (position >= 0 && position < int(catalogue.size()))
        a->setIcon(rhodeMenuIcon(*catalogue[size_t(position)]));
    else
        a->setIcon(stitchToolIcon(modRhode));
}

void MainWindow::refreshRhodePopup()
{
    const TRhodeList& catalogue = stitch().RhodeCatalogue;
    m_rhodesMenu->clear();
    for (int i = 0; i < int(catalogue.size()); ++i) {
        const TRhode& d = *catalogue[size_t(i)];
        QAction* item = m_rhodesMenu->addAction(rhodeMenuIcon(d), d.name);
        item->setObjectName(QStringLiteral("MenuItemRhode%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { MenuItemRhodeClick(i); });
    }
    // The current definition stays while it is in the catalogue; otherwise the first one.
    const int current = m_tools->currentRhode();
    if (current < 0 || current >= int(catalogue.size()))
        m_tools->setCurrentRhode(catalogue.empty() ? -1 : 0);
    RhodeButtonUpdateImage(m_tools->currentRhode());
}

void MainWindow::Rhodeseditor1Click()
{
    const QList<int> removed = showRhodesEditor(this, stitch());
    // Definitions the editor removed move the later ones up; the current one follows its
    // definition, or falls back on the first when its own was removed.
    int current = m_tools->currentRhode();
    for (int position : removed) {
        if (position == current)
            current = -1;
        else if (position < current)
            --current;
    }
    m_tools->setCurrentRhode(current);
    refreshRhodePopup();
}
