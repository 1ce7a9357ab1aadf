#include "OvrelHub/settings/Int64SpinBox.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <limits>

namespace ovrel {

Int64SpinBox::Int64SpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
    // Monospaced digits, so the field does not jitter while stepping.
    QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    digits.setPointSizeF(font().pointSizeF());
    lineEdit()->setFont(digits);
    lineEdit()->setText(QStringLiteral("0"));
    connect(this, &QAbstractSpinBox::editingFinished, this, &Int64SpinBox::commitText);
}

void Int64SpinBox::setRange(qint64 minimum, qint64 maximum) {
    m_min = minimum;
    m_max = std::max(minimum, maximum);
    setValue(m_value);
}

void Int64SpinBox::setValue(qint64 value) {
    const qint64 clamped = std::clamp(value, m_min, m_max);
    lineEdit()->setText(QString::number(clamped));
    if (clamped == m_value)
        return;
    m_value = clamped;
    emit valueChanged(m_value);
}

void Int64SpinBox::stepBy(int steps) {
    // Saturating: never overflows at the ends of the 64-bit range.
    qint64 next = 0;
    if (__builtin_add_overflow(m_value, qint64(steps), &next))
        next = steps > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    setValue(next);
    selectAll();
}

QAbstractSpinBox::StepEnabled Int64SpinBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (m_value < m_max)
        enabled |= StepUpEnabled;
    if (m_value > m_min)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State Int64SpinBox::validate(QString& input, int&) const {
    if (input.isEmpty() || input == QLatin1String("-"))
        return m_min < 0 || input.isEmpty() ? QValidator::Intermediate : QValidator::Invalid;
    bool ok = false;
    input.toLongLong(&ok);
    return ok ? QValidator::Acceptable : QValidator::Invalid;
}

void Int64SpinBox::fixup(QString& input) const {
    input = QString::number(m_value);
}

void Int64SpinBox::commitText() {
    bool ok = false;
    const qint64 typed = lineEdit()->text().toLongLong(&ok);
    setValue(ok ? typed : m_value);
}

} // namespace ovrel
