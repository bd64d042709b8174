// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FormAccessibility.h"

#include <QAccessibleWidget>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabBar>

#include "app/AccessibleComboBox.h"
#include "app/AccessibleGroupBox.h"
#include "app/AccessibleTabBar.h"
#include "widgets/LabelLink.h"
#include "widgets/StatusPanel.h"
#include "monitor/PerfChart.h"

namespace FormAccessibility {

namespace {

// A caption as it reads: without the accelerator's ampersand and the layout's blanks.
QString Spoken(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;  // "&x" reads x, "&&" reads &
        text += caption[i];
    }
    return text.simplified();
}

// A label that opens an address: read as a link, opened by its "press" action as by Enter.
class TAccessibleLink : public QAccessibleWidget {
public:
    explicit TAccessibleLink(QWidget* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override
    {
        if (name != pressAction())
            return QAccessibleWidget::doAction(name);
        if (TLabelLink* link = TLabelLink::Of(widget()))
            link->Activate();
    }
};

// The widgets this form describes itself, by the class Qt asks about (from the most derived up).
enum class TOwn { None, StatusPanel, Chart, Link, GroupBox, TabBar, ComboBox };

TOwn OwnKind(const QString& className, const QObject* object)
{
    if (className == QLatin1String("TStatusPanel"))
        return TOwn::StatusPanel;
    if (className == QLatin1String("TPerfChart"))
        return TOwn::Chart;
    if (className == QLatin1String("QLabel") && TLabelLink::Of(object))
        return TOwn::Link;
    if (className == QLatin1String("QGroupBox"))
        return TOwn::GroupBox;
    if (className == QLatin1String("QTabBar"))
        return TOwn::TabBar;
    if (className == QLatin1String("TComboBox"))
        return TOwn::ComboBox;
    return TOwn::None;
}

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    switch (OwnKind(className, object)) {
    case TOwn::StatusPanel:
        return new QAccessibleWidget(widget, QAccessible::StaticText);
    case TOwn::Chart:
        return new QAccessibleWidget(widget, QAccessible::Chart);
    case TOwn::Link:
        return new TAccessibleLink(widget);
    case TOwn::GroupBox:
        return new TAccessibleGroupBox(static_cast<QGroupBox*>(widget));
    case TOwn::TabBar:
        return new TAccessibleTabBar(static_cast<QTabBar*>(widget));
    case TOwn::ComboBox:
        return new TAccessibleComboBox(static_cast<QComboBox*>(widget));
    case TOwn::None:
        break;
    }
    return nullptr;
}

bool HasOwnInterface(const QWidget* widget)
{
    for (const QMetaObject* kind = widget->metaObject(); kind; kind = kind->superClass()) {
        if (OwnKind(QLatin1String(kind->className()), widget) != TOwn::None)
            return true;
    }
    return false;
}

// Qt tells the feature table's current cell as focused for as long as it is current, even on a
// page the user has left: the table lets go of it when it is hidden.
class TForgetCurrentWhenHidden : public QObject {
public:
    explicit TForgetCurrentWhenHidden(QAbstractItemView* view) : QObject(view), view_(view) { view->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && view_->selectionModel())
            view_->selectionModel()->clearCurrentIndex();
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractItemView* view_;
};

void NameByCaptions(Ui::TfMainMem& ui, QWidget* form)
{
    for (QGroupBox* box : form->findChildren<QGroupBox*>()) {
        if (box->accessibleName().isEmpty())
            box->setAccessibleName(Spoken(box->title()));
    }
    // Captions that are labels: Qt's buddy is the label's own way of naming its control.
    const std::pair<QLabel*, QWidget*> labelled[] = {
        {ui.Label30, ui.Gauge1},    {ui.Label1, ui.Gauge2},    {ui.Label21, ui.Gauge3}, {ui.Label14, ui.SpinEdit3},
        {ui.Label29, ui.CbCache},   {ui.Label5, ui.TrackBar2}, {ui.Label28, ui.HotKey1}, {ui.Label20, ui.PerfChart1},
    };
    for (const auto& [label, control] : labelled)
        label->setBuddy(control);
    // Captions that are the check boxes switching the value on, and the group box around the track bar.
    ui.SpinEdit1->setAccessibleName(Spoken(ui.CheckBox3->text()));
    ui.SpinEdit2->setAccessibleName(Spoken(ui.CheckBox5->text()));
    ui.TrackBar1->setAccessibleName(Spoken(ui.GroupBox10->title()));
    ui.PerfChart1->setAccessibleName(Spoken(ui.Label20->text()));
    ui.StatusBar->setAccessibleName(QStringLiteral("Barre d'état"));
    ui.ListView1->setAccessibleName(QStringLiteral("Fonctions du processeur"));
    ui.ListView1->setHeaderLabels({QString::fromUtf8(kFeatureColumns[0]), QString::fromUtf8(kFeatureColumns[1])});

    // Qt reads a combo box by its current item (see TAccessibleComboBox): it is read by its
    // caption, and so is the line typed into, which has the focus.
    const QString cacheCaption = Spoken(ui.Label29->text());
    ui.CbCache->setAccessibleName(cacheCaption);
    ui.CbCache->lineEdit()->setAccessibleName(cacheCaption);
    // The hot-key field types into a line of its own, and has a button that empties it.
    const QString hotKeyCaption = Spoken(ui.Label28->text());
    ui.HotKey1->setAccessibleName(hotKeyCaption);
    if (auto* line = ui.HotKey1->findChild<QLineEdit*>())
        line->setAccessibleName(hotKeyCaption);
    ui.HotKey1->SetClearButtonName(QStringLiteral("Effacer le raccourci"));
}

void NamePictures(Ui::TfMainMem& ui)
{
    const std::pair<QLabel*, const char*> logos[] = {
        {ui.LogoWinNT, "Logo Windows NT"}, {ui.LogoWin98, "Logo Windows 98"},   {ui.LogoWin95, "Logo Windows 95"},
        {ui.LogoWinXP, "Logo Windows XP"}, {ui.LogoWin2K, "Logo Windows 2000"}, {ui.LogoLinux, "Logo Linux"},
        {ui.LogoIntel, "Logo Intel"},      {ui.LogoAMD, "Logo AMD"},            {ui.LogoCyrix, "Logo Cyrix"},
        {ui.Image1, "Bannière Mnemora XP"},
    };
    for (const auto& [logo, name] : logos)
        logo->setAccessibleName(QString::fromUtf8(name));
    // The icons at the start of the lines say nothing the lines do not.
    for (QLabel* icon : {ui.Image3, ui.Image4, ui.Image5, ui.Image6, ui.Image7, ui.Image8, ui.Image9, ui.Image10})
        TAccessibleGroupBox::SetDecorative(icon);
}

void ServeTheKeyboard(Ui::TfMainMem& ui, QWidget* form)
{
    // Enter presses the button that has the focus, as it opens the link that has it (Qt leaves
    // Enter to the default button of a dialog; this window has none).
    for (QPushButton* button : form->findChildren<QPushButton*>())
        button->setAutoDefault(true);
    // The chart takes the focus for its menu's sake, after the buttons: the window still opens
    // with the focus on "Optimise la RAM !".
    QWidget::setTabOrder(ui.Button4, ui.PerfChart1);
    new TForgetCurrentWhenHidden(ui.ListView1);
    // The method buttons sit inside their frame, so that a screen reader hears them as its
    // members; they keep the page's font, not the frame's.
    QFont pageFont = ui.Reglage->font();
    pageFont.setResolveMask(QFont::AllPropertiesResolved);
    for (QRadioButton* method : {ui.RadioButton1, ui.RadioButton2, ui.RadioButton3})
        method->setFont(pageFont);
}

}  // namespace

void NameControls(Ui::TfMainMem& ui, QWidget* form)
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
    NameByCaptions(ui, form);
    NamePictures(ui);
    ServeTheKeyboard(ui, form);
    // With a screen reader already listening, Qt made each widget's interface as the widget was
    // built, before the factory above was asked: those are dropped, and made again when next asked.
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        if (HasOwnInterface(widget))
            TLabelLink::ForgetInterface(widget);
    }
}

}  // namespace FormAccessibility
