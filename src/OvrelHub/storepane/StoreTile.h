#pragma once

#include "OvrelHub/storepane/StoreStatus.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace ovrel {

class StoreIcon;

// One module in the store's grid: icon, name on one line, summary, and the
// status row (a caption, or the install or update button, and while an
// install downloads a button that calls it off). Clicking it, or Return or
// Space while it has the focus, chooses it.
class StoreTile : public QFrame {
    Q_OBJECT
public:
    StoreTile(QString id, const QString& name, const QString& summary, QWidget* parent = nullptr);

    const QString& id() const { return m_id; }
    StoreIcon* icon() const { return m_icon; }
    QLabel* nameLabel() const { return m_name; }
    QLabel* statusLabel() const { return m_status; }
    QPushButton* actionButton() const { return m_action; }
    QPushButton* cancelButton() const { return m_cancel; }
    QLabel* failureLabel() const { return m_failure; }

    void setStatus(const TileStatus& status);
    // Shows the cancel button with the text, or hides it for an empty text.
    void setCancel(const QString& text);
    // Why the last install failed; empty hides the line.
    void setFailure(const QString& reason);

signals:
    void chosen();
    void actionClicked();
    void cancelClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_id;
    StoreIcon* m_icon;
    QLabel* m_name;
    QLabel* m_status;
    QPushButton* m_action;
    QPushButton* m_cancel;
    QLabel* m_failure;
};

} // namespace ovrel
