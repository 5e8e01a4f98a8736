#pragma once
// The insert dialog: rows or columns, and how many. It keeps its last choices while the
// process runs, so the window makes it once and shows it again.

#include "editing/DimensionActions.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TStitch;

class TFInsert : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxAmount = 32767;

    explicit TFInsert(TStitch& stitch, QWidget* parent = nullptr);

    TInsertType insertType() const;
    int amount() const;
    void translateUi();

    QRadioButton* rowButton() const { return m_row; }
    QRadioButton* columnButton() const { return m_column; }
    QSpinBox* amountField() const { return m_amount; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    TStitch& m_stitch;
    QRadioButton* m_row = nullptr;
    QRadioButton* m_column = nullptr;
    QLabel* m_amountLabel = nullptr;
    QSpinBox* m_amount = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
