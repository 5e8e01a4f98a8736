#pragma once
// The ghost picture of the main window and how it is shown: the picture, the overlay over the
// chart (which exists only while it is shown) with its opacity, and what a click on the shadow
// button does (toggle the overlay, or show and hide the ghost window). The widgets (the button
// with its menu, the ghost window) follow its signals; every rule can be driven without them.

#include "GhostOverlay.h"
#include "files/GhostPicture.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <memory>

class ChartView;
class PatternDocument;

class GhostState : public QObject
{
    Q_OBJECT
public:
    enum class ButtonMode { Overlay, Window };

    // `picture` is the window's ghost picture, which design files and the conversion fill.
    GhostState(ChartView& view, PatternDocument& document, GhostPicture& picture,
               QObject* parent = nullptr);
    ~GhostState() override;

    // The ghost as made or loaded; after writing into it, call ghostPictureReplaced().
    GhostPicture& picture() { return m_picture; }
    const GhostPicture& picture() const { return m_picture; }

    // After the picture was replaced: a loaded picture is made the ghost (the overlay shown,
    // the button pressed and enabled), an empty one drops the ghost.
    void ghostPictureReplaced();
    // Frees the picture and hides the overlay; the button is disabled.
    void dropGhost();
    // A re-initialisation of the window (a new, opened or converted design): the overlay and
    // the ghost window hidden, opacity 50, overlay mode, the button released. The picture is
    // left for ghostPictureReplaced(), which drops or shows what the new design brought.
    void reinitialise();

    bool GhostLoaded() const { return m_loaded; }
    bool showGhostLayer() const { return m_layer != nullptr; }
    void setShowGhostLayer(bool on);
    // The overlay while it is shown, else null.
    const GhostOverlay* GhostLayer() const { return m_layer.get(); }

    int ghostOpacity() const { return m_opacity; }
    ButtonMode ghostButtonMode() const { return m_mode; }

    // A percentage entry (10 .. 100) of the button's menu: overlay mode, the opacity
    // p x 255 div 100, the overlay shown.
    void choosePercent(int percent);
    // "Shadow Image": window mode; the window shows the picture.
    void chooseShadowImage();
    // A click on the shadow button; `windowVisible` tells whether the ghost window is shown.
    // Returns whether the ghost is shown afterwards (the button is then pressed after a
    // moment).
    bool clickButton(bool windowVisible);
    // The ghost window was closed while active: in window mode the button is released.
    void windowClosedWhileActive();

signals:
    // GhostLoaded changed: the button and its menu are enabled exactly while a ghost is loaded.
    void loadedChanged(bool loaded);
    // The button's icon shows the mode.
    void buttonModeChanged(ButtonMode mode);
    // The button is pressed or released.
    void buttonPressed(bool pressed);
    // The ghost window shows `picture` (as it is now, fitted to its view) or hides.
    void showWindow(const QImage& picture);
    void hideWindow();

private:
    void setGhostLoaded(bool on);
    void setButtonMode(ButtonMode mode);
    void updateBackground();

    QPointer<ChartView> m_view; // the view may go first when the window closes
    PatternDocument& m_doc;
    GhostPicture& m_picture;
    std::unique_ptr<GhostOverlay> m_layer;
    bool m_loaded = false;
    int m_opacity = GhostOverlay::kStartOpacity;
    ButtonMode m_mode = ButtonMode::Overlay;
};
