#include "OvrelModuleKit/manifest/ManifestError.h"

namespace ovrel {

ManifestError::ManifestError(Kind kind) : ManifestError(kind, QString()) {}

ManifestError::ManifestError(Kind kind, QString payload)
    : m_kind(kind), m_payload(hasPayload(kind) ? std::move(payload) : QString()),
      m_what(description().toStdString()) {}

bool ManifestError::hasPayload(Kind kind) {
    return kind <= Kind::invalidMinMacOS;
}

QString ManifestError::name(Kind kind) {
    switch (kind) {
    case Kind::missingRequiredLanguage:
        return QStringLiteral("missingRequiredLanguage");
    case Kind::duplicateKey:
        return QStringLiteral("duplicateKey");
    case Kind::duplicateCommand:
        return QStringLiteral("duplicateCommand");
    case Kind::labelTooLong:
        return QStringLiteral("labelTooLong");
    case Kind::defaultOutOfRange:
        return QStringLiteral("defaultOutOfRange");
    case Kind::defaultNotInOptions:
        return QStringLiteral("defaultNotInOptions");
    case Kind::emptyOptions:
        return QStringLiteral("emptyOptions");
    case Kind::invalidMode:
        return QStringLiteral("invalidMode");
    case Kind::unknownSettingGroup:
        return QStringLiteral("unknownSettingGroup");
    case Kind::duplicateSettingGroup:
        return QStringLiteral("duplicateSettingGroup");
    case Kind::insecureScreenshotURL:
        return QStringLiteral("insecureScreenshotURL");
    case Kind::duplicatePermission:
        return QStringLiteral("duplicatePermission");
    case Kind::invalidMinMacOS:
        return QStringLiteral("invalidMinMacOS");
    case Kind::invalidJSON:
        return QStringLiteral("invalidJSON");
    case Kind::idMismatch:
        return QStringLiteral("idMismatch");
    case Kind::tooManyMenuEntries:
        return QStringLiteral("tooManyMenuEntries");
    case Kind::tooManySettings:
        return QStringLiteral("tooManySettings");
    case Kind::summaryTooLong:
        return QStringLiteral("summaryTooLong");
    case Kind::tooManySettingGroups:
        return QStringLiteral("tooManySettingGroups");
    case Kind::tooManyDynamicCommands:
        return QStringLiteral("tooManyDynamicCommands");
    case Kind::descriptionTooLong:
        return QStringLiteral("descriptionTooLong");
    case Kind::tooManyScreenshots:
        return QStringLiteral("tooManyScreenshots");
    }
    return {};
}

namespace {

// The payload comes from an untrusted file and ends up in log lines: quotes,
// backslashes and control characters are escaped so it stays on one line.
QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\0':
            out += QStringLiteral("\\0");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'"':
        case u'\'':
        case u'\\':
            out += QLatin1Char('\\');
            out += c;
            break;
        default:
            if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                c.category() == QChar::Separator_Paragraph)
                out += QStringLiteral("\\u{%1}").arg(c.unicode(), 0, 16);
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

} // namespace

QString ManifestError::description() const {
    if (!hasPayload(m_kind))
        return name(m_kind);
    return name(m_kind) + QLatin1Char('(') + quoted(m_payload) + QLatin1Char(')');
}

namespace {

// What is wrong, in words; the payload (the field, key or value) follows.
const char* problem(ManifestError::Kind kind) {
    using Kind = ManifestError::Kind;
    switch (kind) {
    case Kind::missingRequiredLanguage:
        return "a text lacks a required language (vi and en are required)";
    case Kind::duplicateKey:
        return "a setting key is used twice";
    case Kind::duplicateCommand:
        return "a menu command is declared twice";
    case Kind::labelTooLong:
        return "a text is too long";
    case Kind::defaultOutOfRange:
        return "a setting's default is outside its range";
    case Kind::defaultNotInOptions:
        return "a setting's default is not one of its options";
    case Kind::emptyOptions:
        return "a choice setting has no options";
    case Kind::invalidMode:
        return "the mode is neither onDemand nor resident";
    case Kind::unknownSettingGroup:
        return "a setting names a group that is not declared";
    case Kind::duplicateSettingGroup:
        return "a setting group is declared twice";
    case Kind::insecureScreenshotURL:
        return "a screenshot address is not https";
    case Kind::duplicatePermission:
        return "a permission is declared twice";
    case Kind::invalidMinMacOS:
        return "the minimum system version is not dotted numbers";
    case Kind::invalidJSON:
        return "it is missing or not a manifest object";
    case Kind::idMismatch:
        return "its id is not the module's id";
    case Kind::tooManyMenuEntries:
        return "it declares too many menu entries";
    case Kind::tooManySettings:
        return "it declares too many settings";
    case Kind::summaryTooLong:
        return "the summary is too long";
    case Kind::tooManySettingGroups:
        return "it declares too many setting groups";
    case Kind::tooManyDynamicCommands:
        return "it declares too many dynamic commands";
    case Kind::descriptionTooLong:
        return "the description is too long";
    case Kind::tooManyScreenshots:
        return "it lists too many screenshots";
    }
    return "";
}

} // namespace

QString ManifestError::explanation() const {
    const QString text = QString::fromLatin1(problem(m_kind));
    if (!hasPayload(m_kind))
        return text;
    return text + QStringLiteral(": ") + quoted(m_payload);
}

} // namespace ovrel
