#pragma once

#include "OvrelHub/update/WhatsNewContent.h"

#include <QDialog>

class QPushButton;
class QPlainTextEdit;

namespace ovrel {

// The What's New window: title, version, date, the notes in a scrolling
// selectable text, then "Later" and "Download" (the default button).
// `downloadRequested` and `laterRequested` say which button was pressed;
// the controller decides what follows.
class WhatsNewView : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 460;

    explicit WhatsNewView(const WhatsNewContent& content, QWidget* parent = nullptr);

    const WhatsNewContent& content() const { return m_content; }
    QPushButton* downloadButton() const { return m_download; }
    QPushButton* laterButton() const { return m_later; }
    QPlainTextEdit* notesView() const { return m_notes; }

signals:
    void downloadRequested();
    void laterRequested();

private:
    WhatsNewContent m_content;
    QPushButton* m_download = nullptr;
    QPushButton* m_later = nullptr;
    QPlainTextEdit* m_notes = nullptr;
};

} // namespace ovrel
