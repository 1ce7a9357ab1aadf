#include "OvrelHub/settings/ModuleSettingsForm.h"

#include "OvrelHub/menu/ModuleMenuBuilder.h"
#include "OvrelHub/settings/Int64SpinBox.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/settings/SettingsFormLayout.h"
#include "OvrelModuleKit/settings/ModuleSettingsStore.h"
#include "OvrelModuleKit/text/Graphemes.h"
#include "Platform/system/SystemLog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QVBoxLayout>
#include <limits>

namespace ovrel {

namespace {

template <class... Kinds> struct Overloaded : Kinds... { using Kinds::operator()...; };
template <class... Kinds> Overloaded(Kinds...) -> Overloaded<Kinds...>;

// A short label stays on one line (a wrapping label asks for less than its
// text); a long one (up to 100 characters) wraps past a third of the pane.
QLabel* rowLabel(const QString& text) {
    constexpr int kOneLineUpTo = 220;
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMinimumWidth(
        std::min(label->fontMetrics().horizontalAdvance(text) + 1, kOneLineUpTo));
    return label;
}

// A stepper as wide as its longest value, after a flexible space.
QWidget* trailing(QAbstractSpinBox* stepper, const IntSpec& integer) {
    const QString longest =
        QString::number(integer.min).size() > QString::number(integer.max).size()
            ? QString::number(integer.min)
            : QString::number(integer.max);
    QStyleOptionSpinBox option;
    option.initFrom(stepper);
    const QSize text(stepper->fontMetrics().horizontalAdvance(longest + QLatin1Char('0')),
                     stepper->fontMetrics().height());
    stepper->setMinimumWidth(
        stepper->style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, stepper).width() +
        stepper->style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, &option, stepper) * 2 +
        stepper->fontMetrics().height());
    stepper->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* holder = new QWidget();
    auto* line = new QHBoxLayout(holder);
    line->setContentsMargins(0, 0, 0, 0);
    line->addStretch(1);
    line->addWidget(stepper);
    return holder;
}

int characterLimit(qint64 maxLength) {
    return static_cast<int>(std::min<qint64>(maxLength, std::numeric_limits<int>::max()));
}

} // namespace

ModuleSettingsForm::ModuleSettingsForm(QString moduleId, ModuleManifest manifest,
                                       AppLanguage language, const ModuleSettingsStore& store,
                                       std::function<void()> onChanged, QWidget* parent)
    : QWidget(parent), m_moduleId(std::move(moduleId)), m_manifest(std::move(manifest)),
      m_lang(language), m_store(store), m_onChanged(std::move(onChanged)),
      m_values(store.load(m_moduleId, m_manifest)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const SettingsSection& section :
         SettingsFormLayout::sections(m_manifest.settings(), m_manifest.settingGroups())) {
        if (section.title)
            layout->addWidget(PaneStyle::heading(localizedText(*section.title, m_lang), font()));
        auto* form = new QFormLayout();
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        form->setRowWrapPolicy(QFormLayout::WrapLongRows);
        for (const SettingSpec& spec : section.settings) {
            Row row;
            m_controls.insert(spec.key(), makeControl(spec, row));
            if (row.label)
                form->addRow(row.label, row.field);
            else
                form->addRow(row.field);
        }
        layout->addLayout(form);
    }
}

QWidget* ModuleSettingsForm::makeControl(const SettingSpec& spec, Row& row) {
    const QString key = spec.key();
    const QString label = localizedText(spec.label(), m_lang);
    const SettingValue current = m_values.value(key, spec.defaultValue());
    return std::visit(
        Overloaded{
            [&](const BoolSpec&) -> QWidget* {
                auto* box = new QCheckBox(label);
                row.field = box;
                box->setChecked(current.boolValue().value_or(false));
                connect(box, &QCheckBox::toggled, this,
                        [this, key](bool on) { write(key, SettingValue::fromBool(on)); });
                return box;
            },
            [&](const IntSpec& integer) -> QWidget* {
                row.label = rowLabel(label);
                auto* stepper = new Int64SpinBox();
                stepper->setRange(integer.min, integer.max);
                row.field = trailing(stepper, integer);
                stepper->setValue(current.intValue().value_or(integer.defaultValue));
                connect(stepper, &Int64SpinBox::valueChanged, this,
                        [this, key](qint64 value) { write(key, SettingValue::fromInt(value)); });
                return stepper;
            },
            [&](const EnumSpec& enumeration) -> QWidget* {
                row.label = rowLabel(label);
                auto* picker = new QComboBox();
                row.field = picker;
                for (const EnumOption& option : enumeration.options)
                    picker->addItem(localizedText(option.label, m_lang), option.value);
                picker->setCurrentIndex(
                    picker->findData(current.stringValue().value_or(enumeration.defaultValue)));
                connect(picker, &QComboBox::activated, this, [this, key, picker](int index) {
                    write(key, SettingValue::fromString(picker->itemData(index).toString()));
                });
                return picker;
            },
            [&](const StringSpec& text) -> QWidget* {
                row.label = rowLabel(label);
                auto* field = new QLineEdit(current.stringValue().value_or(text.defaultValue));
                row.field = field;
                const int limit = characterLimit(text.maxLength);
                connect(field, &QLineEdit::textEdited, this,
                        [this, key, field, limit](const QString& typed) {
                            const QString kept = Graphemes::truncated(typed, limit);
                            if (kept != typed)
                                field->setText(kept); // show what is stored
                            write(key, SettingValue::fromString(kept));
                        });
                return field;
            },
        },
        spec.variant());
}

void ModuleSettingsForm::write(const QString& key, const SettingValue& value) {
    m_values.insert(key, value);
    try {
        m_store.save(m_values, m_moduleId);
    } catch (const FileError& error) {
        SystemLog::write(QStringLiteral("Ovrel: lưu cấu hình module ") + m_moduleId +
                         QStringLiteral(" thất bại: ") + error.description());
    }
    if (m_onChanged)
        m_onChanged();
}

} // namespace ovrel
