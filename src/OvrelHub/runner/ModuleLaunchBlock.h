#pragma once

#include <QString>
#include <exception>
#include <string>

namespace ovrel {

// Why a module may not be opened on this system. Returned by the runner's
// checks (never thrown by them); a std::exception so it can travel like the
// other typed errors.
class ModuleLaunchBlock : public std::exception {
public:
    enum class Kind {
        macOSTooOld,     // the manifest's minMacOS is newer than the running system
        invalidMinMacOS, // the manifest's minMacOS is malformed
    };

    static ModuleLaunchBlock macOSTooOld(QString required) {
        return {Kind::macOSTooOld, std::move(required)};
    }
    static ModuleLaunchBlock invalidMinMacOS(QString value) {
        return {Kind::invalidMinMacOS, std::move(value)};
    }

    Kind kind() const { return m_kind; }
    // The required version for macOSTooOld, the offending text for
    // invalidMinMacOS, exactly as the manifest has it.
    const QString& value() const { return m_value; }

    // macOSTooOld("15"), invalidMinMacOS("15.a"); the value made safe for one
    // log line (see shownValue).
    QString description() const;
    const char* what() const noexcept override { return m_what.c_str(); }

    // The value as it may be shown in a log line or an alert. It comes from a
    // manifest that has not been verified yet, so control and line-separator
    // characters are escaped and an overlong value is cut; an ordinary value
    // is unchanged.
    QString shownValue() const;
    static constexpr qsizetype kMaxShownLength = 64;

    bool operator==(const ModuleLaunchBlock& other) const {
        return m_kind == other.m_kind && m_value == other.m_value;
    }

private:
    ModuleLaunchBlock(Kind kind, QString value);

    Kind m_kind;
    QString m_value;
    std::string m_what;
};

} // namespace ovrel
