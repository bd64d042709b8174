// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>
#include <QIconEngine>

// An icon of one of the program's pictures (":/pictures/NAME.png" and its NAME@2x.png drawing)
// that decodes a drawing only when a size first needs it, and then only that drawing: a start
// on a 1x screen never reads the 2x ones, and a picture nobody looks at is never read at all.
class TPictureIconEngine : public QIconEngine {
public:
    explicit TPictureIconEngine(const QString& name);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    // The 1x drawing's size, read from the file's header alone.
    QSize SingleSize();
    // The drawings read so far, the one a size needs read now.
    const QIcon& DrawingsFor(const QSize& size);

    QString single_;
    QString doubled_;
    QSize singleSize_;
    bool singleRead_ = false;
    bool doubledRead_ = false;
    QIcon drawings_;
};
