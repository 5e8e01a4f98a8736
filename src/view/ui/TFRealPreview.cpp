#include "TFRealPreview.h"

#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "core/SafeSave.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <QWheelEvent>

TFRealPreview::TFRealPreview(PatternDocument& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_preview(doc)
{
    setObjectName(QStringLiteral("FRealPreview"));
    setModal(true);
    resize(800, 600);

    m_image = new QLabel;
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setWidget(m_image);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    QPalette grey = m_scroll->palette();
    grey.setColor(QPalette::Dark, QColor(128, 128, 128));
    m_scroll->setPalette(grey);
    m_scroll->viewport()->installEventFilter(this);

    m_zoom = new QSlider(Qt::Vertical);
    m_zoom->setObjectName(QStringLiteral("Zoom"));
    m_zoom->setRange(5, 50);
    m_zoom->setValue(8);
    m_zoom->setInvertedAppearance(true); // small cells at the top
    m_save = new QPushButton;
    m_save->setObjectName(QStringLiteral("ButtonSave"));

    auto* side = new QVBoxLayout;
    side->addWidget(m_zoom, 1, Qt::AlignHCenter);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_save);
    bottom->addStretch(1);
    auto* main = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addLayout(side);
    row->addWidget(m_scroll, 1);
    main->addLayout(row, 1);
    main->addLayout(bottom);

    m_preview.checkpoint = [this] {
        QCoreApplication::processEvents();
        if (m_closing)
            return RealPreview::stCancel;
        if (m_restart) {
            m_restart = false;
            return RealPreview::stRestart;
        }
        return RealPreview::stContinue;
    };
    m_preview.currentZoom = [this] { return m_zoom->value(); };
    showMessage = [this](const QString& text) {
        QMessageBox::warning(this, windowTitle(), text);
    };

    connect(m_zoom, &QSlider::valueChanged, this, &TFRealPreview::redraw);
    connect(m_save, &QPushButton::clicked, this, &TFRealPreview::SaveClick);
    translateUi();
}

TFRealPreview::~TFRealPreview()
{
    m_closing = true;
}

void TFRealPreview::translateUi()
{
    TStitch& st = m_doc.stitch();
    setWindowTitle(st.translate(QStringLiteral("Real Preview")));
    m_save->setText(st.translate(QStringLiteral("Save as JPEG ...")));
}

void TFRealPreview::redraw()
{
    if (m_drawing) {
        m_restart = true;
        return;
    }
    m_drawing = true;
    m_restart = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool done = m_preview.draw(m_zoom->value());
    QApplication::restoreOverrideCursor();
    m_drawing = false;
    if (!done) {
        if (m_preview.tooLarge()) {
            m_image->clear();
            m_image->resize(0, 0);
            showMessage(m_doc.stitch().translate(
                QStringLiteral("The preview is too large to draw at this zoom.")));
        }
        return;
    }
    m_image->setPixmap(QPixmap::fromImage(m_preview.picture()));
    m_image->resize(m_preview.picture().size());
    if (m_pendingScroll.x() >= 0) {
        m_scroll->horizontalScrollBar()->setValue(m_pendingScroll.x());
        m_scroll->verticalScrollBar()->setValue(m_pendingScroll.y());
        m_pendingScroll = QPoint(-1, -1);
    }
}

int TFRealPreview::keptScroll(int position, int mouse, int zoom, int newZoom)
{
    return (position + mouse) / zoom * newZoom - mouse;
}

void TFRealPreview::wheelZoom(int step, QPoint mouse)
{
    const int z = m_zoom->value();
    const int z2 = std::clamp(z + step, m_zoom->minimum(), m_zoom->maximum());
    if (z2 == z)
        return;
    m_pendingScroll = QPoint(keptScroll(m_scroll->horizontalScrollBar()->value(), mouse.x(), z, z2),
                             keptScroll(m_scroll->verticalScrollBar()->value(), mouse.y(), z, z2));
    m_zoom->setValue(z2);
}

bool TFRealPreview::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_scroll->viewport() && e->type() == QEvent::Wheel) {
        auto* w = static_cast<QWheelEvent*>(e);
        const int dy = w->angleDelta().y();
        if (dy != 0)
            wheelZoom(dy > 0 ? 1 : -1, w->position().toPoint());
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TFRealPreview::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    m_closing = false;
    // Every opening draws anew: the design may have changed since.
    QMetaObject::invokeMethod(this, &TFRealPreview::redraw, Qt::QueuedConnection);
}

void TFRealPreview::closeEvent(QCloseEvent* e)
{
    m_closing = true;
    m_preview.freeStrips();
    QDialog::closeEvent(e);
}

QString TFRealPreview::jpegFileName(const QString& chosen)
{
    const QFileInfo info(chosen);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".jpg"));
}

void TFRealPreview::SaveClick()
{
    TStitch& st = m_doc.stitch();
    QFileDialog dialog(this, st.translate(QStringLiteral("Save as JPEG ...")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(st.translate(QStringLiteral("JPEG")) + QStringLiteral(" (*.jpg)"));
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    saveAsJpeg(dialog.selectedFiles().first());
}

QString TFRealPreview::saveAsJpeg(const QString& chosen)
{
    const QString file = jpegFileName(chosen);
    auto failed = [&file](const QString& reason) {
        return QuillError(QStringLiteral("Cannot write the preview picture \"%1\": %2.")
                              .arg(QDir::toNativeSeparators(file), reason));
    };
    try {
        const QImage& picture = m_preview.picture();
        if (picture.isNull())
            throw failed(QStringLiteral("there is no preview to save"));
        const QDir folder = QFileInfo(file).dir();
        if (!folder.exists()) {
            // One level only: the folder's parent must exist.
            const QDir parent = QFileInfo(folder.absolutePath()).dir();
            if (!parent.exists() || !parent.mkdir(folder.dirName()))
                throw failed(QStringLiteral("the folder cannot be created"));
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        if (!writer.write(picture.convertToFormat(QImage::Format_RGB32)))
            throw failed(writer.errorString());
        // Written beside the target and renamed over it when complete: a failed write leaves
        // an existing file as it was.
        writeFileSafely(file, bytes, QStringLiteral("preview picture"));
    } catch (const QuillError& e) {
        showMessage(e.message());
        return QString();
    }
    return file;
}
