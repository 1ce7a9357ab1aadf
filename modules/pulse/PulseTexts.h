#pragma once

#include <QString>

namespace ovrel::pulse {

// Pulse's own words, in the hub's seven languages.
enum class PulseText {
    nextBreakAt, // "%1" is a time
    paused,
    pausedUntil, // "%1" is a time
    remindersOn,
    pause,
    pauseFor15Minutes,
    pauseFor1Hour,
    pauseUntilResumed,
    resume,
    breakTitle,
    breakBody,
};

// The text in the language, else in English, else in Vietnamese.
QString text(PulseText which, const QString& language);

} // namespace ovrel::pulse
