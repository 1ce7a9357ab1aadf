#include "OvrelConfig/ModuleHotkeyConflict.h"

#include <QStringList>
#include <algorithm>

namespace ovrel {

const std::map<QString, qint64>& ModuleHotkeyConflict::keycodes() {
    static const std::map<QString, qint64> names = {
        {QStringLiteral("a"), 0},       {QStringLiteral("s"), 1},    {QStringLiteral("d"), 2},
        {QStringLiteral("f"), 3},       {QStringLiteral("h"), 4},    {QStringLiteral("g"), 5},
        {QStringLiteral("z"), 6},       {QStringLiteral("x"), 7},    {QStringLiteral("c"), 8},
        {QStringLiteral("v"), 9},       {QStringLiteral("b"), 11},   {QStringLiteral("q"), 12},
        {QStringLiteral("w"), 13},      {QStringLiteral("e"), 14},   {QStringLiteral("r"), 15},
        {QStringLiteral("y"), 16},      {QStringLiteral("t"), 17},   {QStringLiteral("o"), 31},
        {QStringLiteral("u"), 32},      {QStringLiteral("i"), 34},   {QStringLiteral("p"), 35},
        {QStringLiteral("l"), 37},      {QStringLiteral("j"), 38},   {QStringLiteral("k"), 40},
        {QStringLiteral("n"), 45},      {QStringLiteral("m"), 46},   {QStringLiteral("space"), 49},
        {QStringLiteral("return"), 36}, {QStringLiteral("tab"), 48}, {QStringLiteral("escape"), 53},
    };
    return names;
}

std::optional<Hotkey> ModuleHotkeyConflict::defaultHotkey(const std::optional<QString>& text) {
    if (!text || text->isEmpty())
        return std::nullopt;
    const QStringList pieces = text->toLower().split(QLatin1Char('+'), Qt::SkipEmptyParts);
    if (pieces.size() < 2)
        return std::nullopt;
    const auto key = keycodes().find(pieces.last());
    if (key == keycodes().end())
        return std::nullopt;

    Hotkey hotkey;
    hotkey.keycode = key->second;
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        const QString& piece = pieces[i];
        if (piece == u"cmd" || piece == u"command")
            hotkey.command = true;
        else if (piece == u"shift")
            hotkey.shift = true;
        else if (piece == u"opt" || piece == u"option" || piece == u"alt")
            hotkey.option = true;
        else if (piece == u"ctrl" || piece == u"control")
            hotkey.control = true;
        else
            return std::nullopt;
    }
    return hotkey;
}

std::optional<HotkeyHolder>
ModuleHotkeyConflict::holder(const Hotkey& hotkey, const std::vector<Hotkey>& reserved,
                             const ModuleHotkeys& moduleHotkeys,
                             const std::optional<CommandRef>& excluding) {
    if (std::find(reserved.begin(), reserved.end(), hotkey) != reserved.end())
        return HotkeyHolder::ovrel();
    for (const auto& [moduleId, commands] : moduleHotkeys) {
        for (const auto& [command, assigned] : commands) {
            if (assigned != hotkey)
                continue;
            if (excluding && excluding->first == moduleId && excluding->second == command)
                continue;
            return HotkeyHolder::module(moduleId, command);
        }
    }
    return std::nullopt;
}

bool ModuleHotkeyConflict::isTaken(const Hotkey& hotkey, const std::vector<Hotkey>& reserved,
                                   const ModuleHotkeys& moduleHotkeys,
                                   const std::optional<CommandRef>& excluding) {
    return holder(hotkey, reserved, moduleHotkeys, excluding).has_value();
}

} // namespace ovrel
