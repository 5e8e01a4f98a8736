#pragma once
// The design-settings dialog ("Pattern settings ..."): palette, symbol set, title, comment,
// thread lengths, background colour, number of colours and size of the open design. A thin
// view over DesignSettingsValues; OK checks the size before anything changes, and the caller
// applies the values (applyDesignSettings).

#include "convert/DesignSettings.h"

#include <QColor>
#include <QDialog>
#include <functional>
#include <optional>

class PatternDocument;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class TActions;
class TStitch;

class TFTemplateSettings : public QDialog
{
    Q_OBJECT
public:
    explicit TFTemplateSettings(PatternDocument& doc, QWidget* parent = nullptr);

    // Fills the fields (and the two lists) from the values.
    void setValues(const DesignSettingsValues& values);
    // The values of the fields, with the lists the dialog offered.
    DesignSettingsValues values() const;

    void translateUi();
    // The thread-options group is hidden (its values are kept).
    void applyProductMode();

    // The colour chooser the background panel opens (the system's colour dialog unless a
    // test puts another in); nothing when the user cancelled.
    using ColorChooser = std::function<std::optional<QColor>(const QColor& current)>;
    void setColorChooser(ColorChooser chooser) { m_chooser = std::move(chooser); }
    // Where a refusal of OK is shown (a message box unless a test puts another in).
    void setMessageHandler(std::function<void(const QString&)> handler)
    {
        m_messageHandler = std::move(handler);
    }

    QComboBox* paletteBox() const { return m_palette; }
    QComboBox* symbolsBox() const { return m_symbols; }
    QLineEdit* titleEdit() const { return m_title; }
    QPlainTextEdit* commentEdit() const { return m_comment; }
    QSpinBox* lenField() const { return m_len; }
    QSpinBox* backLenField() const { return m_backLen; }
    QSpinBox* baseLenField() const { return m_baseLen; }
    QGroupBox* threadGroup() const { return m_threadGroup; }
    QPushButton* backgroundPanel() const { return m_background; }
    QSpinBox* colorsCountField() const { return m_colorsCount; }
    QSpinBox* widthField() const { return m_width; }
    QSpinBox* heightField() const { return m_height; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* helpButton() const { return m_help; }

private:
    void PBackgroundClick();
    void showBackground();
    void confirm();

    PatternDocument& m_doc;
    TStitch& m_stitch;
    DesignSettingsValues m_values;
    ColorKey m_backgroundKey = 0;
    ColorChooser m_chooser;
    std::function<void(const QString&)> m_messageHandler;
    QComboBox* m_palette;
    QComboBox* m_symbols;
    QLineEdit* m_title;
    QPlainTextEdit* m_comment;
    QGroupBox* m_threadGroup;
    QSpinBox* m_len;
    QSpinBox* m_backLen;
    QSpinBox* m_baseLen;
    QPushButton* m_background;
    QSpinBox* m_colorsCount;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_help;
};

// "Pattern settings ...": shows the dialog for the open design and, on OK, applies its values
// (see applyDesignSettings). Nothing when the user cancelled; a failure of the size change
// is shown and the result tells what changed before it.
std::optional<DesignSettingsResult> showTemplateSettings(QWidget* parent, PatternDocument& doc,
                                                         TActions& history);
