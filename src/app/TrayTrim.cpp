// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TrayTrim.h"

#include <QEvent>
#include <QPixmapCache>
#include <malloc.h>

TTrayTrim::TTrayTrim(QWidget* window, int settleMs) : QObject(window), window_(window)
{
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { Trim(); });
    window->installEventFilter(this);
    if (!window->isVisible())
        settle_.start();
}

bool TTrayTrim::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Hide)
        settle_.start();
    return false;
}

void TTrayTrim::Trim()
{
    // Minimised, the window is still visible in Qt's sense: it is only iconified, not gone.
    if (window_.isNull() || window_->isVisible())
        return;
    QPixmapCache::clear();
    ::malloc_trim(0);
}
