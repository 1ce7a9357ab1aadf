#pragma once

#include <QAbstractSpinBox>

namespace ovrel {

// A stepper over the whole signed 64-bit range that module settings allow
// (QSpinBox stops at 32 bits). Steps by one; typed values are clamped into
// the range; `valueChanged` fires for every new value.
class Int64SpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit Int64SpinBox(QWidget* parent = nullptr);

    void setRange(qint64 minimum, qint64 maximum);
    qint64 minimum() const { return m_min; }
    qint64 maximum() const { return m_max; }
    qint64 value() const { return m_value; }
    void setValue(qint64 value);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

signals:
    void valueChanged(qint64 value);

protected:
    StepEnabled stepEnabled() const override;

private:
    void commitText();

    qint64 m_min = 0;
    qint64 m_max = 0;
    qint64 m_value = 0;
};

} // namespace ovrel
