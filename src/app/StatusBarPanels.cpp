// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StatusBarPanels.h"

#include <QEvent>
#include <QStatusBar>
#include <algorithm>

TStatusBarPanels::TStatusBarPanels(QStatusBar* bar, QList<QWidget*> panels, QWidget* lastPanel)
    : QObject(bar), bar_(bar), panels_(std::move(panels)), lastPanel_(lastPanel)
{
    for (QWidget* panel : panels_)
        laidOutWidths_.append(panel->width());
    bar_->installEventFilter(this);
    Arrange();
}

void TStatusBarPanels::Arrange()
{
    int x = 0;
    for (qsizetype index = 0; index < panels_.size(); ++index) {
        QWidget* panel = panels_[index];
        const int width = std::max(laidOutWidths_[index], panel->sizeHint().width());
        panel->setGeometry(x, panel->y(), width, panel->height());
        x += width;
    }
    lastPanel_->setGeometry(x, lastPanel_->y(), std::max(0, bar_->width() - x), lastPanel_->height());
}

bool TStatusBarPanels::eventFilter(QObject* watched, QEvent* event)
{
    // A panel whose text changed asks its bar for a new layout; the bar may be resized with the
    // window.
    if (watched == bar_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        Arrange();
    return false;
}
