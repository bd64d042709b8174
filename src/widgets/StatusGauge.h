// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QProgressBar>

// The status-bar panel that follows a recovery run: a navy gauge with a line of text over it.
// The text is set on its own and does not follow the position.
class TStatusGauge : public QProgressBar {
    Q_OBJECT
    // Settable by name, so the form's layout file can carry it.
    Q_PROPERTY(QString Text READ Text WRITE SetText)

public:
    explicit TStatusGauge(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void SetText(const QString& text);
    // The bar's position, drawn at the event loop's next pass rather than at once.
    void SetPosition(int position);

    QString text() const override { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
