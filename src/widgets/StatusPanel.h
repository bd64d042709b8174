// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFrame>
#include <QIcon>

// A status-bar panel of fixed width showing a small icon followed by a line of text.
class TStatusPanel : public QFrame {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry it.
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    explicit TStatusPanel(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void SetText(const QString& text);
    void SetIcon(const QIcon& icon);  // drawn 16 x 16, at the screen's own scale

    // The width that shows the icon and the whole text.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QIcon icon_;
};
