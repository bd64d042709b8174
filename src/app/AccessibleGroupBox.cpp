// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessibleGroupBox.h"

#include <QGroupBox>
#include <QLabel>

namespace {

constexpr const char* kDecorative = "mnemoraDecorative";

}  // namespace

TAccessibleGroupBox::TAccessibleGroupBox(QGroupBox* box) : TAccessibleWidgetList(box, QAccessible::Grouping) {}

QString TAccessibleGroupBox::text(QAccessible::Text kind) const
{
    const auto* box = static_cast<const QGroupBox*>(widget());
    if (kind == QAccessible::Name && box->accessibleName().isEmpty())
        return QString(box->title()).remove(QLatin1Char('&')).simplified();
    if (kind == QAccessible::Description && box->accessibleDescription().isEmpty())
        return box->toolTip();
    return QAccessibleWidget::text(kind);
}

void TAccessibleGroupBox::SetDecorative(QWidget* widget)
{
    widget->setProperty(kDecorative, true);
}

bool TAccessibleGroupBox::LeftOut(const QWidget* widget)
{
    if (widget->property(kDecorative).toBool())
        return true;
    // Decided when asked: a label that is empty now may be filled later, and a picture drawn.
    const auto* label = qobject_cast<const QLabel*>(widget);
    return label && label->text().isEmpty() && label->pixmap().isNull() && label->accessibleName().isEmpty();
}

QList<QWidget*> TAccessibleGroupBox::Children() const
{
    QList<QWidget*> shown;
    for (QObject* child : widget()->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !control->isWindow() && !LeftOut(control))
            shown.append(control);
    }
    return shown;
}
