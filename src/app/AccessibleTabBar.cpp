// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessibleTabBar.h"

#include <QTabBar>

namespace {

class TAccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TAccessibleTab(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bar_ ? QAccessible::queryAccessibleInterface(bar_)->window() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        switch (kind) {
        case QAccessible::Name:
            return QString(bar_->tabText(index_)).remove(QLatin1Char('&')).simplified();
        case QAccessible::Description:
            return bar_->tabToolTip(index_);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        const bool current = bar_->currentIndex() == index_;
        state.selected = current;
        state.focused = current && bar_->hasFocus();
        state.focusable = bar_->focusPolicy() != Qt::NoFocus;
        state.disabled = !bar_->isTabEnabled(index_);
        state.invisible = !bar_->isVisible() || !bar_->isTabVisible(index_);
        return state;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(tab.topLeft()), tab.size());
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override
    {
        if (isValid() && name == pressAction())
            bar_->setCurrentIndex(index_);
    }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

}  // namespace

TAccessibleTabBar::TAccessibleTabBar(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList), shown_(bar->currentIndex())
{
    currentChanged_ = QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int index) { TellSelection(index); });
}

TAccessibleTabBar::~TAccessibleTabBar()
{
    QObject::disconnect(currentChanged_);
    for (const QAccessible::Id id : tabs_)
        QAccessible::deleteAccessibleInterface(id);
}

QTabBar* TAccessibleTabBar::Bar() const
{
    return static_cast<QTabBar*>(widget());
}

QString TAccessibleTabBar::text(QAccessible::Text kind) const
{
    // Qt reads the bar by its current tab's caption, which belongs to that tab.
    if (kind == QAccessible::Name)
        return widget()->accessibleName();
    return QAccessibleWidget::text(kind);
}

int TAccessibleTabBar::childCount() const
{
    return Bar()->count();
}

QAccessibleInterface* TAccessibleTabBar::child(int index) const
{
    if (index < 0 || index >= Bar()->count())
        return nullptr;
    // One interface per tab for the bar's life: a screen reader holds on to what it was given.
    while (tabs_.size() <= static_cast<size_t>(index))
        tabs_.push_back(QAccessible::registerAccessibleInterface(new TAccessibleTab(Bar(), static_cast<int>(tabs_.size()))));
    return QAccessible::accessibleInterface(tabs_[index]);
}

int TAccessibleTabBar::indexOfChild(const QAccessibleInterface* child) const
{
    for (size_t i = 0; i < tabs_.size(); ++i) {
        if (QAccessible::accessibleInterface(tabs_[i]) == child)
            return static_cast<int>(i);
    }
    return -1;
}

void TAccessibleTabBar::TellSelection(int index)
{
    QAccessible::State selected;
    selected.selected = true;
    for (const int tab : {shown_, index}) {
        if (QAccessibleInterface* page = child(tab)) {
            QAccessibleStateChangeEvent event(page, selected);
            QAccessible::updateAccessibility(&event);
        }
    }
    shown_ = index;
}
