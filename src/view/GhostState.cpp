#include "GhostState.h"

#include "ChartView.h"
#include "core/PatternDocument.h"

GhostState::GhostState(ChartView& view, PatternDocument& document, GhostPicture& picture,
                       QObject* parent)
    : QObject(parent), m_view(&view), m_doc(document), m_picture(picture)
{
    // A new background changes which ghost pixels leave the chart visible.
    connect(&m_doc, &PatternDocument::designReset, this, [this] {
        if (m_layer && m_layer->background() != m_doc.stitch().BackGroundColor) {
            updateBackground();
            m_view->repaintAll();
        }
    });
}

GhostState::~GhostState()
{
    if (m_view)
        m_view->setGhostOverlay(nullptr);
}

void GhostState::ghostPictureReplaced()
{
    if (!m_picture.isLoaded()) {
        dropGhost();
        return;
    }
    if (m_layer) {
        m_layer->setPicture(m_picture);
        m_view->repaintAll();
    } else {
        setShowGhostLayer(true);
    }
    setGhostLoaded(true);
    emit buttonPressed(true);
}

void GhostState::dropGhost()
{
    setShowGhostLayer(false);
    m_picture.drop();
    setGhostLoaded(false);
}

void GhostState::reinitialise()
{
    setShowGhostLayer(false);
    emit hideWindow();
    m_opacity = GhostOverlay::kStartOpacity;
    setButtonMode(ButtonMode::Overlay);
    emit buttonPressed(false);
}

void GhostState::setShowGhostLayer(bool on)
{
    if (on == showGhostLayer())
        return;
    if (!on) {
        m_view->setGhostOverlay(nullptr);
        m_layer.reset();
        return;
    }
    if (!m_picture.isLoaded())
        return; // nothing to show
    m_layer = std::make_unique<GhostOverlay>();
    m_layer->setPicture(m_picture);
    m_layer->setOpacity(m_opacity);
    updateBackground();
    m_view->setGhostOverlay(m_layer.get()); // repaints the chart
}

void GhostState::choosePercent(int percent)
{
    setButtonMode(ButtonMode::Overlay);
    emit buttonPressed(true);
    m_opacity = GhostOverlay::opacityForPercent(percent);
    if (!m_layer) {
        setShowGhostLayer(true);
        return;
    }
    m_layer->setOpacity(m_opacity);
    m_view->repaintAll();
}

void GhostState::chooseShadowImage()
{
    setButtonMode(ButtonMode::Window);
    emit buttonPressed(true);
    // QImage is shared on copy: the window's picture stays as it is if this one changes.
    emit showWindow(m_picture.ghostPicture);
}

bool GhostState::clickButton(bool windowVisible)
{
    if (m_mode == ButtonMode::Overlay) {
        setShowGhostLayer(!showGhostLayer());
        return showGhostLayer();
    }
    if (windowVisible) {
        emit hideWindow();
        return false;
    }
    emit showWindow(m_picture.ghostPicture);
    return true;
}

void GhostState::windowClosedWhileActive()
{
    if (m_mode == ButtonMode::Window)
        emit buttonPressed(false);
}

void GhostState::setGhostLoaded(bool on)
{
    if (on == m_loaded)
        return;
    m_loaded = on;
    emit loadedChanged(on);
}

void GhostState::setButtonMode(ButtonMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    emit buttonModeChanged(mode);
}

void GhostState::updateBackground()
{
    if (m_layer)
        m_layer->setBackground(m_doc.stitch().BackGroundColor);
}
