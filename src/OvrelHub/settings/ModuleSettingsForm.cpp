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
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <limits>

namespace ovrel {

namespace {

template <class... Kinds> struct Overloaded : Kinds... { using Kinds::operator()...; };
template <class... Kinds> Overloaded(Kinds...) -> Overloaded<Kinds...>;

QLabel* rowLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
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
            QWidget* label = nullptr;
            QWidget* control = makeControl(spec, &label);
            m_controls.insert(spec.key(), control);
            if (label)
                form->addRow(label, control);
            else
                form->addRow(control);
        }
        layout->addLayout(form);
    }
}

QWidget* ModuleSettingsForm::makeControl(const SettingSpec& spec, QWidget** labelOut) {
    const QString key = spec.key();
    const QString label = localizedText(spec.label(), m_lang);
    const SettingValue current = m_values.value(key, spec.defaultValue());
    return std::visit(
        Overloaded{
            [&](const BoolSpec&) -> QWidget* {
                auto* box = new QCheckBox(label);
                box->setChecked(current.boolValue().value_or(false));
                connect(box, &QCheckBox::toggled, this,
                        [this, key](bool on) { write(key, SettingValue::fromBool(on)); });
                return box;
            },
            [&](const IntSpec& integer) -> QWidget* {
                *labelOut = rowLabel(label);
                auto* stepper = new Int64SpinBox();
                stepper->setRange(integer.min, integer.max);
                stepper->setValue(current.intValue().value_or(integer.defaultValue));
                connect(stepper, &Int64SpinBox::valueChanged, this,
                        [this, key](qint64 value) { write(key, SettingValue::fromInt(value)); });
                return stepper;
            },
            [&](const EnumSpec& enumeration) -> QWidget* {
                *labelOut = rowLabel(label);
                auto* picker = new QComboBox();
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
                *labelOut = rowLabel(label);
                auto* field = new QLineEdit(current.stringValue().value_or(text.defaultValue));
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
