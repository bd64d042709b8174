// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>
#include <QIconEngine>
#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <memory>
#include <vector>

// An icon drawn from PNG files, one per size, that decodes a drawing only when a size first needs
// it, and then only that drawing: a start on a 1x screen never reads the 2x ones, and a picture
// nobody looks at is never read at all. Files are read as PNG by name, so no image plugin is
// loaded to guess their format.
class TPictureIconEngine : public QIconEngine {
public:
    // What happens to a drawing once decoded: kept for the next paint (a picture on the window),
    // or let go when the event loop next runs (the program's icon, which a window takes, twice
    // over, as it is made).
    enum class Keep { Drawings, Nothing };

    TPictureIconEngine(QStringList files, Keep keep);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    struct TDrawing {
        QString file;
        QSize size;  // read from the file's header alone
    };
    using TDecoded = QHash<QString, QPixmap>;  // by file

    // The drawings from the smallest up, the unreadable ones left out.
    const std::vector<TDrawing>& Drawings();
    // The smallest drawing that covers the size, or the largest of all.
    const TDrawing* DrawingFor(const QSize& size);
    QPixmap DecodedDrawing(const TDrawing& drawing);

    QStringList files_;
    Keep keep_;
    bool sized_ = false;
    std::vector<TDrawing> drawings_;
    std::shared_ptr<TDecoded> decoded_ = std::make_shared<TDecoded>();
};
