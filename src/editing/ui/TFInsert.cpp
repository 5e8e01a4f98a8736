#include "TFInsert.h"

#include "core/TStitch.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFInsert::TFInsert(TStitch& stitch, QWidget* parent) : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FInsert"));
    m_row = new QRadioButton(this);
    m_row->setObjectName(QStringLiteral("RRow"));
    m_column = new QRadioButton(this);
    m_column->setObjectName(QStringLiteral("RColumn"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_row);
    group->addButton(m_column);
    m_row->setChecked(true);

    m_amountLabel = new QLabel(this);
    m_amount = new QSpinBox(this);
    m_amount->setObjectName(QStringLiteral("Edit1"));
    m_amount->setRange(1, kMaxAmount);
    m_amount->setValue(1);
    m_amountLabel->setBuddy(m_amount);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("ButtonOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_row);
    layout->addWidget(m_column);
    auto* amount = new QHBoxLayout;
    amount->addWidget(m_amountLabel);
    amount->addWidget(m_amount, 1);
    layout->addLayout(amount);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    translateUi();
}

TInsertType TFInsert::insertType() const
{
    return m_column->isChecked() ? itColumn : itRow;
}

int TFInsert::amount() const
{
    return m_amount->value();
}

void TFInsert::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Insert row/column")));
    m_row->setText(m_stitch.translate(QStringLiteral("Row(s)")));
    m_column->setText(m_stitch.translate(QStringLiteral("Column(s)")));
    m_amountLabel->setText(m_stitch.translate(QStringLiteral("Amount :")));
    m_ok->setText(m_stitch.translate(QStringLiteral("OK")));
    m_cancel->setText(m_stitch.translate(QStringLiteral("Cancel")));
}
