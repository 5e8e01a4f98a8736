#include "TFTemplateSettings.h"

#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The page of the help that explains this dialog.
constexpr int kHelpContext = 3400;

QSpinBox* numberField(QWidget* parent, const char* name, int minimum, int maximum)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(minimum, maximum);
    return s;
}

void selectName(QComboBox* box, const QStringList& names, const QString& wanted)
{
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(names.indexOf(wanted));
}

} // namespace

TFTemplateSettings::TFTemplateSettings(PatternDocument& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_stitch(doc.stitch())
{
    setObjectName(QStringLiteral("FTemplateSettings"));
    auto keyed = [this](const char* key, QWidget* parent) {
        auto* label = new QLabel(parent);
        setTextKey(label, QString::fromLatin1(key), m_stitch);
        return label;
    };

    m_palette = new QComboBox(this);
    m_palette->setObjectName(QStringLiteral("ComboPalette"));
    m_symbols = new QComboBox(this);
    m_symbols->setObjectName(QStringLiteral("ComboSymbols"));
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("ETitle"));
    m_comment = new QPlainTextEdit(this);
    m_comment->setObjectName(QStringLiteral("MemoComment"));
    m_comment->setMinimumHeight(70);
    m_comment->setMaximumHeight(120);
    m_comment->setTabChangesFocus(true);
    m_background = new QPushButton(this);
    m_background->setObjectName(QStringLiteral("PBackground"));
    m_background->setFixedSize(60, 24);
    connect(m_background, &QPushButton::clicked, this, &TFTemplateSettings::PBackgroundClick);
    m_colorsCount = numberField(this, "EColorsCount", 0, 0);
    m_width = numberField(this, "EWidth", 1, DesignSettingsValues::kMaxSize);
    m_height = numberField(this, "EHeight", 1, DesignSettingsValues::kMaxSize);

    m_threadGroup = new QGroupBox(this);
    m_threadGroup->setObjectName(QStringLiteral("GroupThreadOptions"));
    setTextKey(m_threadGroup, QStringLiteral("Thread options (mm)"), m_stitch);
    m_len = numberField(m_threadGroup, "ELen", 0, 100000);
    m_backLen = numberField(m_threadGroup, "EBackLen", 0, 100000);
    m_baseLen = numberField(m_threadGroup, "EBaseLen", 0, 100000);
    auto* thread = new QFormLayout(m_threadGroup);
    thread->addRow(keyed("Length per stitch", m_threadGroup), m_len);
    thread->addRow(keyed("Length per backstitch", m_threadGroup), m_backLen);
    thread->addRow(keyed("Scrap thread", m_threadGroup), m_baseLen);

    auto* form = new QFormLayout;
    form->addRow(keyed("Color Palette", this), m_palette);
    form->addRow(keyed("Symbols Table", this), m_symbols);
    form->addRow(keyed("Title", this), m_title);
    form->addRow(keyed("Comment", this), m_comment);
    form->addRow(keyed("Background color", this), m_background);
    m_colorsCount->setMinimumWidth(m_width->sizeHint().width());
    auto* count = new QHBoxLayout;
    count->addWidget(m_colorsCount);
    count->addStretch(1);
    form->addRow(keyed("Colors count", this), count);
    auto* size = new QHBoxLayout;
    size->addWidget(m_width);
    size->addWidget(keyed("Height", this));
    size->addWidget(m_height);
    size->addStretch(1);
    form->addRow(keyed("Width", this), size);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("ButtonOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("ButtonHelp"));
    connect(m_ok, &QPushButton::clicked, this, &TFTemplateSettings::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this,
            [this] { showHelpContext(this, m_stitch, kHelpContext); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(m_threadGroup);
    top->addStretch(1);
    top->addLayout(buttons);

    m_chooser = [this](const QColor& current) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(current, this, windowTitle());
        return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
    };
    translateUi();
}

void TFTemplateSettings::setValues(const DesignSettingsValues& v)
{
    m_values = v;
    selectName(m_palette, v.paletteNames, v.palette);
    selectName(m_symbols, v.characterNames, v.characters);
    m_title->setText(v.title);
    m_comment->setPlainText(v.comment.join(QLatin1Char('\n')));
    m_len->setValue(v.len);
    m_backLen->setValue(v.backLen);
    m_baseLen->setValue(v.baseLen);
    m_backgroundKey = v.background;
    showBackground();
    m_colorsCount->setRange(v.colorsMinimum, v.colorsMaximum);
    m_colorsCount->setValue(v.colorsCount);
    m_colorsCount->setEnabled(v.colorsEnabled);
    m_width->setValue(v.width);
    m_height->setValue(v.height);
}

DesignSettingsValues TFTemplateSettings::values() const
{
    DesignSettingsValues v = m_values;
    if (m_palette->currentIndex() >= 0)
        v.palette = m_palette->currentText();
    if (m_symbols->currentIndex() >= 0)
        v.characters = m_symbols->currentText();
    v.title = m_title->text();
    const QString comment = m_comment->toPlainText();
    v.comment = comment.isEmpty() ? QStringList() : comment.split(QLatin1Char('\n'));
    v.len = m_len->value();
    v.backLen = m_backLen->value();
    v.baseLen = m_baseLen->value();
    v.background = m_backgroundKey;
    v.colorsCount = m_colorsCount->value();
    v.width = m_width->value();
    v.height = m_height->value();
    return v;
}

void TFTemplateSettings::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Design Settings")));
    retranslate(this, m_stitch);
    m_ok->setText(m_stitch.translate(QStringLiteral("OK")));
    m_cancel->setText(m_stitch.translate(QStringLiteral("Cancel")));
    m_help->setText(m_stitch.translate(QStringLiteral("Help")));
}

void TFTemplateSettings::applyProductMode()
{
    m_threadGroup->setVisible(false);
}

void TFTemplateSettings::showBackground()
{
    QPixmap swatch(m_background->size() - QSize(12, 10));
    swatch.fill(keyToQColor(m_backgroundKey));
    {
        QPainter p(&swatch);
        p.setPen(Qt::black);
        p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    }
    m_background->setIcon(QIcon(swatch));
    m_background->setIconSize(swatch.size());
}

void TFTemplateSettings::PBackgroundClick()
{
    if (const std::optional<QColor> c = m_chooser(keyToQColor(m_backgroundKey))) {
        m_backgroundKey = qColorToKey(*c);
        showBackground();
    }
}

void TFTemplateSettings::confirm()
{
    // A size the design cannot take is refused before anything changes.
    const QString problem = designSettingsProblem(m_doc, values());
    if (!problem.isEmpty()) {
        if (m_messageHandler)
            m_messageHandler(problem);
        else
            showMessageBox(this, QMessageBox::Warning, windowTitle(), problem, m_stitch);
        return;
    }
    accept();
}

std::optional<DesignSettingsResult> showTemplateSettings(QWidget* parent, PatternDocument& doc,
                                                         TActions& history)
{
    TFTemplateSettings dialog(doc, parent);
    const DesignSettingsValues shown = DesignSettingsValues::from(doc);
    dialog.setValues(shown);
    dialog.applyProductMode();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    try {
        return applyDesignSettings(doc, history, shown, dialog.values());
    } catch (const QuillError& e) {
        showMessageBox(parent, QMessageBox::Warning, dialog.windowTitle(), e.translated(doc.stitch()),
                       doc.stitch());
        DesignSettingsResult partial;
        partial.changed = true;
        partial.titleChanged = true;
        partial.symbolsChanged = true;
        return partial;
    }
}
