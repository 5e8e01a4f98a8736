#pragma once
// The Rhodes editor window ("Rhodes Editor"): a thin view over RhodesEditor. The catalogue is
// written back whenever the window closes.

#include "editing/RhodesEditor.h"

#include <QDialog>
#include <QLabel>

class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class TStitch;

// The drawing surface: the editor's raster with its preview overlay, mouse to the editor.
class RhodesSurface : public QWidget
{
    Q_OBJECT
public:
    explicit RhodesSurface(RhodesEditor& editor, QWidget* parent = nullptr);
    QSize sizeHint() const override;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    RhodesEditor& m_editor;
};

class TFRhodesEditor : public QDialog
{
    Q_OBJECT
public:
    TFRhodesEditor(TStitch& stitch, QWidget* parent = nullptr);
    ~TFRhodesEditor() override;

    RhodesEditor& editor() { return m_editor; }
    // Catalogue positions removed with "Delete", in order.
    const QList<int>& removed() const { return m_removed; }
    // The problem of the last write of the catalogue (empty when it was written).
    QString saveError() const { return m_saveError; }

protected:
    void done(int result) override;

private:
    QString tr_(const char* text) const;
    void rebuildList();
    void updateState();
    void afterChange();

    TStitch& m_stitch;
    RhodesEditor m_editor;
    QList<int> m_removed;
    QString m_saveError;
    QAction* m_draw = nullptr;
    QAction* m_erase = nullptr;
    QLabel* m_zoomLabel = nullptr;
    QGroupBox* m_listGroup = nullptr;
    QGroupBox* m_editGroup = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QSpinBox* m_columns = nullptr;
    QSpinBox* m_rows = nullptr;
    QLineEdit* m_name = nullptr;
    RhodesSurface* m_surface = nullptr;
    bool m_updating = false;
};

// "Rhodes editor ...": shows the editor modally; the catalogue is written when it closes.
// Returns the positions removed from the catalogue; a failed write is shown to the user.
QList<int> showRhodesEditor(QWidget* parent, TStitch& stitch);
