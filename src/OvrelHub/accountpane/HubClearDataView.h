#pragma once

#include "OvrelConfig/AppLanguage.h"
#include "OvrelHub/account/ClearDataDeletion.h"

#include <QDialog>
#include <QMessageBox>
#include <QPointer>

class QCheckBox;
class QLabel;

class QPushButton;
class QVBoxLayout;

namespace ovrel {

struct AccountTabServices;

// The "Clear my data" sheet: the categories to delete from the server (the
// edition's own ones when it has any, then synced data and the account, both
// only for a signed-in user), a confirmation, then one result line per
// category. Choosing the account also chooses the statistics and synced data
// (the account takes them with it). The choices stay after a run; the sheet
// stays open until closed. Window-modal; main thread.
class HubClearDataView : public QDialog {
    Q_OBJECT
public:
    HubClearDataView(AccountTabServices& services, bool isSignedIn, AppLanguage language,
                     QWidget* parent = nullptr);

    QCheckBox* toggle(ClearDataAction action) const;
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* cancelButton() const { return m_cancel; }
    QMessageBox* confirmation() const { return m_confirmation; }
    // The result lines: label, then "Deleted" or "Error, try again later".
    QList<QPair<QString, QString>> resultLines() const;
    ClearDataDeletion& deletion() { return m_deletion; }

    void confirmAndDelete();

signals:
    void resultsShown(); // tests wait for it

private:
    QCheckBox* addToggle(QVBoxLayout* layout, LocKey label, LocKey description, bool enabled);
    ClearDataDeletion::Choices choices() const;
    void showResults();
    void executeDeletion();

    AppLanguage m_lang;
    ClearDataDeletion m_deletion;
    QCheckBox* m_submissions = nullptr;
    QCheckBox* m_stats = nullptr;
    QCheckBox* m_sync = nullptr;
    QCheckBox* m_account = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_cancel = nullptr;
    QWidget* m_results = nullptr;
    QVBoxLayout* m_resultsLayout = nullptr;
    QList<QPair<QString, QString>> m_lines;
    QPointer<QMessageBox> m_confirmation;
};

} // namespace ovrel
