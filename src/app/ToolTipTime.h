#pragma once
// Tool-tip hints of the whole application stay visible for 10000 ms, whatever their length.

#include <QObject>

class ToolTipTime : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMilliseconds = 10000;
    // Installs the rule on the application once; later calls do nothing.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
