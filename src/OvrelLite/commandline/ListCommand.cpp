#include "OvrelLite/commandline/ListCommand.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/modules/ModuleStateStore.h"
#include "OvrelHub/runner/ModuleRunner.h"
#include "OvrelHub/store/ModuleStore.h"
#include "Platform/process/Workspace.h"

namespace ovrel {

namespace {

// Every entry of the state, with its manifest when it loads; runs on the
// store's worker after installedManifests().
QList<ModuleListRow> rowsFor(const QList<InstalledPair>& pairs, const ModulesState& state,
                             Workspace& workspace) {
    QList<ModuleListRow> rows;
    QStringList bundleIds;
    auto pair = pairs.cbegin();
    // Both are in id order; an entry without a pair is a module that is broken.
    for (const auto& [id, module] : state.installed) {
        if (!ModulePaths::isValidModuleId(id))
            continue; // never a module: the listings of the hub skip it too
        while (pair != pairs.cend() && pair->module.id < id)
            ++pair;
        ModuleListRow row{module, std::nullopt, false, std::nullopt};
        row.module.id = id;
        if (pair != pairs.cend() && pair->module.id == id)
            row.manifest = pair->manifest;
        rows.append(row);
        bundleIds.append(ModuleRunner::bundleIdentifier(id));
    }
    const QSet<QString> running = workspace.runningBundleIdentifiers(bundleIds);
    for (ModuleListRow& row : rows) {
        row.running = running.contains(ModuleRunner::bundleIdentifier(row.module.id));
        if (row.running)
            row.usage = ResidentUsage::read(workspace, row.module.id);
    }
    return rows;
}

CommandLineOutcome listOutcome(const QList<ModuleListRow>& rows, AppLanguage language) {
    if (rows.isEmpty())
        return CommandLineOutcome::success(Loc::t(LocKey::appsNoneInstalled, language) +
                                           QLatin1Char('\n'));
    QString notes;
    for (const ModuleListRow& row : rows) {
        if (!row.manifest)
            notes += row.module.id + QStringLiteral(": ") +
                     Loc::t(LocKey::appsModuleBroken, language) + QLatin1Char('\n');
    }
    return {ExitStatus::success, moduleListTable(rows), notes};
}

// A value from a file must not steer the terminal.
QString printable(QString cell) {
    for (QChar& c : cell) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = QLatin1Char('?');
    }
    return cell;
}

} // namespace

const std::vector<ModuleListColumn>& moduleListColumns() {
    static const std::vector<ModuleListColumn> columns{
        {QStringLiteral("ID"), [](const ModuleListRow& row) { return row.module.id; }},
        {QStringLiteral("VERSION"), [](const ModuleListRow& row) { return row.module.version; }},
        {QStringLiteral("MODE"),
         [](const ModuleListRow& row) {
             return row.manifest ? rawValue(row.manifest->mode()) : QStringLiteral("-");
         }},
        {QStringLiteral("RUNNING"),
         [](const ModuleListRow& row) {
             return row.running ? QStringLiteral("yes") : QStringLiteral("no");
         }},
        {QStringLiteral("HEALTH"),
         [](const ModuleListRow& row) {
             return row.usage ? row.usage->summary() : QStringLiteral("-");
         }},
    };
    return columns;
}

QString moduleListTable(const QList<ModuleListRow>& rows) {
    const std::vector<ModuleListColumn>& columns = moduleListColumns();
    std::vector<QStringList> cells(rows.size() + 1);
    std::vector<qsizetype> widths(columns.size(), 0);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        cells[0].append(columns[c].header);
        for (qsizetype r = 0; r < rows.size(); ++r)
            cells[static_cast<std::size_t>(r) + 1].append(printable(columns[c].value(rows.at(r))));
        for (const QStringList& line : cells)
            widths[c] = std::max(widths[c], line.at(static_cast<qsizetype>(c)).size());
    }
    QString table;
    for (const QStringList& line : cells) {
        QString text;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QString& cell = line.at(static_cast<qsizetype>(c));
            text += c + 1 == columns.size() ? cell : cell.leftJustified(widths[c] + 2);
        }
        table += text + QLatin1Char('\n');
    }
    return table;
}

HubCommand listCommand() {
    HubCommand command;
    command.name = QStringLiteral("list");
    command.summary =
        QStringLiteral("list the installed modules: id, version, mode, running, memory and CPU");
    command.run = [](const CommandInvocation&, HubCommandContext& context) {
        ModuleStateStore* state = &context.state;
        Workspace* workspace = &context.workspace;
        const AppLanguage language = context.language();
        return context.store.installedManifests()
            .then([state, workspace](const QList<InstalledPair>& pairs) {
                return rowsFor(pairs, state->load(), *workspace);
            })
            .then(context.mainThread, [language](const QList<ModuleListRow>& rows) {
                return listOutcome(rows, language);
            });
    };
    return command;
}

} // namespace ovrel
