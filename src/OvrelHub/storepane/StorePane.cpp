#include "OvrelHub/storepane/StorePane.h"

#include "OvrelConfig/Loc.h"
#include "OvrelHub/runner/ModuleCommandRef.h"
#include "OvrelHub/settings/PaneStyle.h"
#include "OvrelHub/store/InstallFailureText.h"
#include "OvrelHub/store/InstallProgress.h"
#include "OvrelHub/store/StoreEntryText.h"
#include "OvrelHub/storepane/InstallProgressText.h"
#include "OvrelHub/storepane/RemoteImageCache.h"
#include "OvrelHub/storepane/StoreDetailPane.h"
#include "OvrelHub/storepane/StoreIcon.h"
#include "OvrelHub/storepane/StoreOperations.h"
#include "OvrelHub/storepane/StoreTile.h"
#include "OvrelHub/storepane/TileGrid.h"
#include "OvrelModuleKit/paths/ModulePaths.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovrel {

namespace {

// The build-mode row's texts are the developer's own and not translated.
const char* const kLocalInstallTitle = "Cài từ file (chế độ dựng bản)";
const char* const kLocalInstallHelp = "Chọn một .app module đã ký. Mọi chốt vẫn áp: chữ ký, "
                                      "manifest, id.";
const char* const kLocalInstallButton = "Chọn file .app…";
const char* const kUnreadableManifest = "Không đọc được manifest trong bundle đó.";

} // namespace

StorePane::StorePane(Inputs inputs, QWidget* parent)
    : QWidget(parent), m_in(std::move(inputs)), m_lang(m_in.language), m_page(m_in.page) {
    setObjectName(QStringLiteral("storePane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_grid = gridPage();
    layout->addWidget(m_grid);

    StoreOperations& ops = m_in.operations;
    connect(&ops, &StoreOperations::changed, this, &StorePane::refresh);
    connect(&ops, &StoreOperations::progressChanged, this, &StorePane::showProgress);
    connect(&ops, &StoreOperations::alertRaised, this, &StorePane::showAlert);
    refresh();
    if (ops.alert())
        showAlert();
    ops.reload();
    // A window opened on a module's page starts on its main action.
    connect(&ops, &StoreOperations::reloaded, this, [this] {
        if (m_detail && !m_focusGiven) {
            m_focusGiven = true;
            m_detail->setFocus();
        }
    });
}

QWidget* StorePane::gridPage() {
    auto* page = new QWidget();
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    m_search = new QLineEdit();
    m_search->setPlaceholderText(Loc::t(LocKey::appsSearchPlaceholder, m_lang));
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, this, &StorePane::refreshTiles);
    layout->addWidget(m_search);
    layout->addWidget(PaneStyle::divider());

    m_stripRow = new QWidget();
    auto* stripLayout = new QHBoxLayout(m_stripRow);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    m_strip = PaneStyle::warningLabel(QString(), font());
    stripLayout->addWidget(m_strip, 1);
    m_retry = new QPushButton(Loc::t(LocKey::appsRetry, m_lang));
    connect(m_retry, &QPushButton::clicked, this, [this] { m_in.operations.reload(); });
    stripLayout->addWidget(m_retry);
    m_stripRow->setVisible(false);
    layout->addWidget(m_stripRow);

    m_autoUpdate = new QCheckBox(Loc::t(LocKey::appsAutoUpdate, m_lang));
    connect(m_autoUpdate, &QCheckBox::toggled, this,
            [this](bool on) { m_in.operations.setAutoUpdate(on); });
    layout->addWidget(m_autoUpdate);
    QLabel* help = PaneStyle::secondaryLabel(Loc::t(LocKey::appsAutoUpdateDesc, m_lang),
                                             PaneStyle::captionFont(font()));
    help->setContentsMargins(24, 0, 0, 0);
    layout->addWidget(help);

    m_tiles = new TileGrid();
    layout->addWidget(m_tiles);
    m_empty = PaneStyle::secondaryLabel(QString(), font());
    m_empty->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_empty);
    layout->addStretch(1);

    if (m_in.operations.services().devLocalInstall()) {
        layout->addWidget(PaneStyle::divider());
        layout->addWidget(localInstallRow());
    }
    return page;
}

QWidget* StorePane::localInstallRow() {
    auto* row = new QWidget();
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PaneStyle::heading(QString::fromUtf8(kLocalInstallTitle), font()));
    layout->addWidget(PaneStyle::secondaryLabel(QString::fromUtf8(kLocalInstallHelp),
                                                PaneStyle::captionFont(font())));
    m_localInstall = new QPushButton(QString::fromUtf8(kLocalInstallButton));
    connect(m_localInstall, &QPushButton::clicked, this, [this] {
        const auto& pick = m_in.operations.services().pickBundle;
        if (!pick)
            return;
        if (const std::optional<QString> bundle = pick(this))
            m_in.operations.installLocal(*bundle);
    });
    auto* buttonRow = new QHBoxLayout();
    buttonRow->addWidget(m_localInstall);
    buttonRow->addStretch(1);
    layout->addLayout(buttonRow);
    return row;
}

StorePage StorePane::safePage() const {
    if (m_page.kind == StorePage::Kind::detail && !entry(m_page.moduleId))
        return StorePage::grid();
    return m_page;
}

void StorePane::showPage(const StorePage& page) {
    if (page == m_page)
        return;
    m_page = page;
    refresh();
    if (m_detail)
        m_detail->setFocus();
    else
        m_search->setFocus();
    emit pageChanged(m_page);
}

std::optional<CatalogEntry> StorePane::entry(const QString& id) const {
    for (const CatalogEntry& candidate : m_in.operations.displayEntries()) {
        if (candidate.id == id)
            return candidate;
    }
    return std::nullopt;
}

void StorePane::refresh() {
    const StoreOperations& ops = m_in.operations;
    {
        const QSignalBlocker blocker(m_autoUpdate);
        m_autoUpdate->setChecked(ops.autoUpdate());
    }
    const std::exception_ptr failure = ops.catalogFailure();
    m_strip->setText(failure ? InstallFailureText::reason(failure, m_lang) : QString());
    m_stripRow->setVisible(failure != nullptr);
    // Before the first answer the page would claim "no apps"; wait for it.
    if (!ops.isLoaded())
        return;
    const bool detail = safePage().kind == StorePage::Kind::detail;
    m_grid->setVisible(!detail);
    if (detail)
        refreshDetail();
    else {
        if (m_detail) {
            m_detail->hide();
            m_detail->deleteLater();
            m_detail = nullptr;
        }
        refreshTiles();
    }
}

void StorePane::refreshTiles() {
    const StoreOperations& ops = m_in.operations;
    if (!ops.isLoaded())
        return;
    const QList<CatalogEntry> all = ops.displayEntries();
    const QList<CatalogEntry> shown =
        StoreModel::filter(all, m_search->text(), ops.manifests(), m_lang);
    QList<QWidget*> tiles;
    for (const CatalogEntry& entry : shown) {
        const ModuleManifest* manifest = ops.manifest(entry.id);
        auto* tile = new StoreTile(entry.id, StoreEntryText::name(entry, manifest, m_lang),
                                   StoreEntryText::summary(entry, manifest, m_lang));
        const bool installed = ops.installed().count(entry.id) > 0;
        tile->setStatus(
            StoreTileStatus::tile(ops.plan(entry), installed, ops.isBusy(entry.id), m_lang));
        tile->setFailure(failureText(entry.id));
        const QString id = entry.id;
        connect(tile, &StoreTile::chosen, this, [this, id] { showPage(StorePage::detail(id)); });
        connect(tile, &StoreTile::actionClicked, this, [this, entry] {
            m_in.operations.install(entry);
        });
        connect(tile, &StoreTile::cancelClicked, this,
                [this, id] { m_in.operations.cancelInstall(id); });
        loadIcon(entry, tile);
        tiles.append(tile);
    }
    m_tiles->setTiles(tiles);
    for (const CatalogEntry& entry : shown)
        showProgress(entry.id);
    m_empty->setText(shown.isEmpty() ? Loc::t(all.isEmpty() ? LocKey::appsNoneInstalled
                                                             : LocKey::appsNoSearchResults,
                                              m_lang)
                                     : QString());
    m_empty->setVisible(shown.isEmpty());
}

void StorePane::refreshDetail() {
    const StoreOperations& ops = m_in.operations;
    const std::optional<CatalogEntry> shown = entry(m_page.moduleId);
    if (!shown)
        return;
    const ModuleManifest* manifest = ops.manifest(shown->id);
    const bool installed = ops.installed().count(shown->id) > 0;
    StoreDetailPane::Inputs inputs;
    inputs.entry = *shown;
    inputs.name = StoreEntryText::name(*shown, manifest, m_lang);
    inputs.description = StoreEntryText::description(*shown, manifest, m_lang);
    inputs.installed = installed;
    inputs.actions =
        StoreTileStatus::detail(ops.plan(*shown), installed, ops.isBusy(shown->id), m_lang);
    inputs.progressText = progressText(shown->id);
    inputs.canCancel = canCancel(shown->id);
    inputs.failure = failureText(shown->id);
    inputs.language = m_lang;

    const bool hadFocus = m_detail && m_detail->isAncestorOf(QApplication::focusWidget());
    if (m_detail) {
        m_detail->hide();
        m_detail->deleteLater();
    }
    auto* detail = new StoreDetailPane(inputs);
    const QString id = shown->id;
    const CatalogEntry chosen = *shown;
    connect(detail, &StoreDetailPane::back, this, [this] { showPage(StorePage::grid()); });
    connect(detail, &StoreDetailPane::install, this,
            [this, chosen] { m_in.operations.install(chosen); });
    connect(detail, &StoreDetailPane::cancel, this,
            [this, id] { m_in.operations.cancelInstall(id); });
    connect(detail, &StoreDetailPane::uninstall, this, [this, id] { confirmUninstall(id); });
    connect(detail, &StoreDetailPane::openSettings, this, [this, id] {
        if (m_in.navigate)
            m_in.navigate(SettingsRoute::module(id));
    });
    connect(detail, &StoreDetailPane::openApp, this, [this, id] {
        if (ModuleCommandSending* runner = m_in.runner ? m_in.runner() : nullptr)
            runner->send(QStringLiteral("open"), std::nullopt, id);
    });
    static_cast<QVBoxLayout*>(layout())->addWidget(detail);
    m_detail = detail;

    const auto module = ops.installed().find(id);
    if (module != ops.installed().end())
        m_in.images.requestBundleIcon(m_in.paths.bundle(id, module->second.appName),
                                      module->second.version, detail->icon(),
                                      [icon = detail->icon()](const QImage& image) {
                                          icon->showImage(image);
                                      });
    else if (shown->iconUrl)
        m_in.images.request(QUrl(*shown->iconUrl), detail->icon(),
                            [icon = detail->icon()](const QImage& image) {
                                icon->showImage(image);
                            });
    else
        detail->icon()->showSymbol();
    for (QLabel* shot : detail->screenshots()) {
        m_in.images.request(QUrl(shot->property("address").toString()), shot,
                            [shot](const QImage& image) {
                                if (image.isNull())
                                    return; // the placeholder colour stays
                                const qreal ratio = shot->devicePixelRatioF();
                                QPixmap pixmap = QPixmap::fromImage(image.scaledToHeight(
                                    qRound(shot->height() * ratio), Qt::SmoothTransformation));
                                pixmap.setDevicePixelRatio(ratio);
                                shot->setFixedWidth(qRound(pixmap.width() / ratio));
                                shot->setPixmap(pixmap);
                            });
    }
    if (hadFocus)
        detail->backButton()->setFocus();
}

void StorePane::loadIcon(const CatalogEntry& entry, StoreTile* tile) {
    StoreIcon* icon = tile->icon();
    auto show = [icon](const QImage& image) { icon->showImage(image); };
    const auto module = m_in.operations.installed().find(entry.id);
    if (module != m_in.operations.installed().end()) {
        m_in.images.requestBundleIcon(m_in.paths.bundle(entry.id, module->second.appName),
                                      module->second.version, icon, show);
        return;
    }
    if (!entry.iconUrl) {
        icon->showSymbol();
        return;
    }
    m_in.images.request(QUrl(*entry.iconUrl), icon, show);
}

QString StorePane::progressText(const QString& id) const {
    const InstallProgress* progress = m_in.operations.progress(id);
    return progress ? InstallProgressText::text(*progress, m_lang) : QString();
}

bool StorePane::canCancel(const QString& id) const {
    const InstallProgress* progress = m_in.operations.progress(id);
    return progress && progress->canCancel() && !progress->isCancelled();
}

QString StorePane::failureText(const QString& id) const {
    const std::exception_ptr failure = m_in.operations.failure(id);
    return failure ? InstallFailureText::reason(failure, m_lang) : QString();
}

void StorePane::showProgress(const QString& id) {
    const QString text = progressText(id);
    if (StoreTile* shown = tile(id)) {
        if (!text.isEmpty())
            shown->setStatus({TileStatus::Kind::caption, text});
        shown->setCancel(canCancel(id) ? Loc::t(LocKey::appsCancelDownload, m_lang) : QString());
    }
    if (m_detail && m_page.moduleId == id)
        m_detail->setProgressText(text, canCancel(id));
}

QList<StoreTile*> StorePane::tiles() const {
    QList<StoreTile*> found;
    for (QWidget* widget : m_tiles->tiles())
        found.append(static_cast<StoreTile*>(widget));
    return found;
}

StoreTile* StorePane::tile(const QString& id) const {
    for (StoreTile* candidate : tiles()) {
        if (candidate->id() == id)
            return candidate;
    }
    return nullptr;
}

void StorePane::confirmUninstall(const QString& id) {
    const std::optional<CatalogEntry> shown = entry(id);
    const QString name =
        shown ? StoreEntryText::name(*shown, m_in.operations.manifest(id), m_lang) : id;
    auto* box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(Loc::format(LocKey::appsUninstallConfirmFormat, m_lang, {name}));
    box->setText(Loc::format(LocKey::appsUninstallConfirmFormat, m_lang, {name}));
    box->setInformativeText(Loc::t(LocKey::appsUninstallConfirmBody, m_lang));
    auto* keep = new QCheckBox(Loc::t(LocKey::appsKeepSettings, m_lang));
    box->setCheckBox(keep);
    box->addButton(Loc::t(LocKey::cancel, m_lang), QMessageBox::RejectRole);
    QPushButton* confirm =
        box->addButton(Loc::t(LocKey::appsUninstall, m_lang), QMessageBox::DestructiveRole);
    box->setEscapeButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::buttonClicked, this, [this, id, confirm, keep](QAbstractButton* b) {
        if (b == confirm)
            m_in.operations.uninstall(id, keep->isChecked());
    });
    m_confirmation = box;
    box->open();
}

void StorePane::showAlert() {
    const auto& alert = m_in.operations.alert();
    if (!alert)
        return;
    QString text;
    switch (alert->kind) {
    case StoreOperations::Alert::Kind::installFailed:
        text = InstallFailureText::message(alert->error, m_lang);
        break;
    case StoreOperations::Alert::Kind::uninstallFailed:
        text = InstallFailureText::reason(alert->error, m_lang);
        break;
    case StoreOperations::Alert::Kind::unreadableManifest:
        text = QString::fromUtf8(kUnreadableManifest);
        break;
    }
    if (m_alertBox)
        m_alertBox->close();
    auto* box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setText(text);
    box->addButton(Loc::t(LocKey::close, m_lang), QMessageBox::RejectRole);
    connect(box, &QMessageBox::finished, &m_in.operations, &StoreOperations::dismissAlert);
    m_alertBox = box;
    box->open();
}

} // namespace ovrel
