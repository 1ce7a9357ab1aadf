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

} // namespace ovrel
