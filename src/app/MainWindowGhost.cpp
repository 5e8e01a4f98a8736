// The ghost picture in the main window: the shadow button with its menu of opacities and
// "Shadow Image", its timer, and the ghost window. The rules live in GhostState.
#include "MainWindow.h"

#include "ToolIcons.h"
#include "view/GhostState.h"
#include "view/ui/GhostWindow.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

void MainWindow::createGhost()
{
    m_ghostState = new GhostState(*m_view, document(), m_ghost, this);
    connect(m_ghostState, &GhostState::showWindow, this, [this](const QImage& picture) {
        TFGhost* window = ghostWindow();
        window->setPicture(picture);
        window->show();
        window->raise();
    });
    connect(m_ghostState, &GhostState::hideWindow, this, [this] {
        if (m_ghostWindow)
            m_ghostWindow->hide();
    });
}

TFGhost* MainWindow::ghostWindow()
{
    if (!m_ghostWindow) {
        m_ghostWindow = new TFGhost(this);
        m_ghostWindow->setObjectName(QStringLiteral("FGhost"));
        m_ghostWindow->translateUi(stitch());
        connect(m_ghostWindow, &TFGhost::closedWhileActive, m_ghostState,
                &GhostState::windowClosedWhileActive);
    }
    return m_ghostWindow;
}

void MainWindow::createShadowButton()
{
    m_shadowMenu = new QMenu(this);
    m_shadowMenu->setObjectName(QStringLiteral("PopupShadow"));
    for (int percent = 10; percent <= 100; percent += 10) {
        QAction* a = m_shadowMenu->addAction(QStringLiteral("%1%").arg(percent));
        a->setObjectName(QStringLiteral("Shadow%1").arg(percent));
        a->setData(percent);
        connect(a, &QAction::triggered, this, [this, percent] { m_ghostState->choosePercent(percent); });
    }
    m_shadowMenu->addSeparator();
    QAction* image = m_shadowMenu->addAction(QString());
    image->setObjectName(QStringLiteral("ShadowImage1"));
    connect(image, &QAction::triggered, m_ghostState, &GhostState::chooseShadowImage);

    m_shadowButton = new QToolButton(m_toolBar);
    m_shadowButton->setObjectName(QStringLiteral("ButtonShadow"));
    m_shadowButton->setCheckable(true);
    m_shadowButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_shadowButton->setMenu(m_shadowMenu);
    m_shadowButton->setIcon(ToolIcons::icon(ToolIcons::ShadowOverlay, style()));
    m_shadowButton->setEnabled(false);
    m_shadowButtonAction = m_toolBar->addWidget(m_shadowButton);

    // A click that leaves the ghost shown ends with the button pressed a moment later; one
    // that hides it leaves the button released.
    m_shadowButtonTimer = new QTimer(this);
    m_shadowButtonTimer->setObjectName(QStringLiteral("TimerShadowButton"));
    m_shadowButtonTimer->setSingleShot(true);
    m_shadowButtonTimer->setInterval(50);
    connect(m_shadowButtonTimer, &QTimer::timeout, this, [this] { m_shadowButton->setChecked(true); });
    connect(m_shadowButton, &QToolButton::clicked, this, [this] {
        m_shadowButton->setChecked(false);
        const bool windowVisible = m_ghostWindow && m_ghostWindow->isVisible();
        if (m_ghostState->clickButton(windowVisible))
            m_shadowButtonTimer->start();
    });

    connect(m_ghostState, &GhostState::loadedChanged, m_shadowButton, &QToolButton::setEnabled);
    connect(m_ghostState, &GhostState::buttonPressed, m_shadowButton, &QToolButton::setChecked);
    connect(m_ghostState, &GhostState::buttonModeChanged, this, [this](GhostState::ButtonMode mode) {
        m_shadowButton->setIcon(ToolIcons::icon(mode == GhostState::ButtonMode::Window
                                                    ? ToolIcons::ShadowWindow
                                                    : ToolIcons::ShadowOverlay,
                                                style()));
    });
}

void MainWindow::translateGhost()
{
    TStitch& st = stitch();
    m_shadowButton->setToolTip(st.translate(QStringLiteral("Shadow image")));
    if (QAction* image = m_shadowMenu->findChild<QAction*>(QStringLiteral("ShadowImage1")))
        image->setText(st.translate(QStringLiteral("Shadow Image")));
    if (m_ghostWindow)
        m_ghostWindow->translateUi(st);
}
