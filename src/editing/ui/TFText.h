#pragma once
// The text dialog ("Insert text"): font, size, style and colour of a line of text, its preview
// at the chart's zoom with its size in cells, and whether the design grows to fit it. A thin view
// over TextRendering; made once by the window, it keeps its choices between uses.

#include "editing/TextRendering.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class TStitch;

// The preview: the rendering's cells at `zoom` pixels each, in the text colour on the design's
// background. Paints only what is exposed, whatever the rendering's size.
class TextPreview : public QWidget
{
    Q_OBJECT
public:
    explicit TextPreview(QWidget* parent = nullptr);
    void setCells(const QImage& rendering, ColorKey color, TColor32 background, int zoom);
    // The picture shown at one pixel per cell (opaque colours), null when there is none.
    const QImage& cells() const { return m_cells; }
    int zoom() const { return m_zoom; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_cells;
    TColor32 m_background = 0xFFFFFFFFu;
    int m_zoom = 1;
};

class TFText : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 1400;

    explicit TFText(TStitch& stitch, QWidget* parent = nullptr);

    // Before each showing (FormShow): the chart's zoom and the design's colours,
    // the draw colour chosen, the text emptied, the preview drawn, the focus on the text.
    void prepare(int zoom);
    void translateUi();

    // The choices as they stand.
    TTextSettings settings() const { return m_settings; }
    bool autoEnlarge() const;
    // The extent of the current rendering and the reason it cannot be made (empty when it can).
    QSize extent() const { return m_extent; }
    QString problem() const { return m_problem; }
    // The colour keys of the colour list's rows.
    const QList<ColorKey>& colors() const { return m_colors; }

    // Replaces the message box (tests read the text); null restores it.
    void setMessageHandler(std::function<void(const QString&)> handler)
    {
        m_messageHandler = std::move(handler);
    }

    QComboBox* fontList() const { return m_font; }
    QComboBox* sizeList() const { return m_size; }
    QComboBox* styleList() const { return m_style; }
    QComboBox* colorList() const { return m_color; }
    QLineEdit* textField() const { return m_text; }
    QLabel* sizeLabel() const { return m_sizeLabel; }
    TextPreview* preview() const { return m_preview; }
    QCheckBox* autoEnlargeBox() const { return m_autoEnlarge; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* helpButton() const { return m_help; }

private:
    // The rendering and preview of the current choices.
    void drawtext();
    void BOKClick();
    void BHelpClick();
    void fillColors();
    void showMessage(const QString& text);

    TStitch& m_stitch;
    TTextSettings m_settings;
    int m_zoom = 8;
    QSize m_extent;
    QString m_problem;
    QList<ColorKey> m_colors;
    std::function<void(const QString&)> m_messageHandler;

    QGroupBox* m_fontBox = nullptr;
    QGroupBox* m_textBox = nullptr;
    QGroupBox* m_previewBox = nullptr;
    QComboBox* m_font = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_style = nullptr;
    QComboBox* m_color = nullptr;
    QLineEdit* m_text = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QScrollArea* m_scroll = nullptr;
    TextPreview* m_preview = nullptr;
    QCheckBox* m_autoEnlarge = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
};
