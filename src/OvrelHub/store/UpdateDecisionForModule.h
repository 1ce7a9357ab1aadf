#pragma once

#include <QString>

namespace ovrel {

// What the auto-updater does with one installed module in one run.
class UpdateDecisionForModule {
public:
    enum class Kind {
        skip,            // nothing; the reason is for diagnostics
        installNow,      // install the new release now
        deferUntilClosed // open in front of the user: a later run updates it
    };

    static UpdateDecisionForModule skip(QString reason) {
        return UpdateDecisionForModule(Kind::skip, std::move(reason));
    }
    static UpdateDecisionForModule installNow() {
        return UpdateDecisionForModule(Kind::installNow);
    }
    static UpdateDecisionForModule deferUntilClosed() {
        return UpdateDecisionForModule(Kind::deferUntilClosed);
    }

    Kind kind() const { return m_kind; }
    const QString& reason() const { return m_reason; }
    bool operator==(const UpdateDecisionForModule&) const = default;

private:
    explicit UpdateDecisionForModule(Kind kind, QString reason = {})
        : m_kind(kind), m_reason(std::move(reason)) {}

    Kind m_kind;
    QString m_reason;
};

} // namespace ovrel
