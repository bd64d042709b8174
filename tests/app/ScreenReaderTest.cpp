// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told of the window beyond the names of its controls: the status bar as
// it changes, the chart, the pictures, the page tabs, the links, and the chart's menu from the
// keyboard.
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "app/FormAccessibility.h"
#include "news/NewsDialog.h"
#include "news/NewsFeed.h"

namespace {

// A key pressed and let go on a widget, as the keyboard would deliver it.
void KeyClick(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

// The window shown and active, so that the focus is real.
void ShowActive(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    QCoreApplication::processEvents();
}

QAccessibleInterface* Of(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString Name(QObject* object)
{
    return Of(object)->text(QAccessible::Name);
}

using ScreenReader = MainWindowFixture;

TEST_F(ScreenReader, TheStatusPanelsAreReadByTheirTextsAndTellEachChange)
{
    TfMainMem& form = Form();
    EXPECT_EQ(Of(form.ui.StatusPanel0)->role(), QAccessible::StaticText);
    EXPECT_EQ(Name(form.ui.StatusPanel0), "0 %");
    EXPECT_EQ(Name(form.ui.StatusPanel1), "100 %");
    EXPECT_EQ(Name(form.ui.StatusPanel2), "Progression de l'optimisation");  // still blank

    // (the announcements themselves go over AT-SPI: see the end-to-end walk)
    memory.status.availPhys = 512 * kMiB;
    form.Timer1Timer();
    EXPECT_EQ(Name(form.ui.StatusPanel0), "50 %");
    form.Timer2Timer();
    EXPECT_TRUE(Name(form.ui.StatusPanel1).endsWith(" %"));

    QStringList heard;
    const auto progress = form.RamRecovery1->OnProgress;
    form.RamRecovery1->OnProgress = [&](QObject* sender, int value) {
        progress(sender, value);
        heard << Name(form.ui.StatusPanel2);
    };
    form.ui.TrackBar1->setValue(1);
    form.ui.RadioButton2->setChecked(true);
    form.RecupRam();
    ASSERT_FALSE(heard.isEmpty());
    for (const QString& name : heard)
        EXPECT_TRUE(name.startsWith("optimisation en cours ...") && name.endsWith(" %")) << name.toStdString();
    EXPECT_EQ(heard.last(), "optimisation en cours ...100 %");
    EXPECT_EQ(Name(form.ui.StatusPanel2), "Quantité récupérée : 0 MB");
}

TEST_F(ScreenReader, TheChartIsNamedAndDescribesItsLatestReadings)
{
    TfMainMem& form = Form();
    QAccessibleInterface* chart = Of(form.ui.PerfChart1);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Name), "Historique de l'utilisation du système");
    EXPECT_TRUE(chart->state().focusable);

    memory.status.availPhys = 256 * kMiB;
    form.ui.SpinEdit1->setValue(40);
    form.Timer1Timer();  // no load read yet
    EXPECT_EQ(chart->text(QAccessible::Description), "RAM libre : 25 %, alarme RAM : 40 %, activité CPU : 0 %");
    form.ui.PerfChart1->Plot(120, 130, 35);  // drawn at the top of the scale: told as drawn
    EXPECT_EQ(chart->text(QAccessible::Description), "RAM libre : 100 %, alarme RAM : 35 %, activité CPU : 130 %");
}

TEST_F(ScreenReader, TheChartsMenuOpensFromTheKeyboard)
{
    TfMainMem& form = Form();
    ShowActive(form);
    QMenu* menu = form.menus.PopupMenu2;
    form.ui.PerfChart1->setFocus();
    KeyClick(form.ui.PerfChart1, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    KeyClick(form.ui.PerfChart1, Qt::Key_F10);  // F10 alone is no menu key
    EXPECT_FALSE(menu->isVisible());
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0), form.ui.PerfChart1->mapToGlobal(QPoint(0, 0)));  // what Qt makes of the Menu key
    QApplication::sendEvent(form.ui.PerfChart1, &menuKey);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(ScreenReader, PicturesAreNamedForWhatTheyShowOrLeftOut)
{
    TfMainMem& form = Form();
    auto children = [](QWidget* box) {
        QStringList names;
        QAccessibleInterface* group = Of(box);
        for (int i = 0; i < group->childCount(); ++i) {
            QAccessibleInterface* child = group->child(i);
            names << child->object()->objectName();
            EXPECT_EQ(group->indexOfChild(child), i);
        }
        return names;
    };
    const QStringList information = children(form.ui.GroupBox8);
    for (const char* left : {"Image3", "Image4", "Image5", "Image6", "Image7", "Image8"})
        EXPECT_FALSE(information.contains(left)) << left;
    for (const char* kept : {"LogoLinux", "Label_version_os", "Label_ram", "Button3"})
        EXPECT_TRUE(information.contains(kept)) << kept;
    EXPECT_EQ(Name(form.ui.LogoLinux), "Logo Linux");
    EXPECT_EQ(Name(form.ui.LogoWinXP), "Logo Windows XP");
    EXPECT_EQ(Name(form.ui.LogoIntel), "Logo Intel");
    EXPECT_FALSE(children(form.ui.GroupBox6).contains("Image10"));
    EXPECT_FALSE(children(form.ui.GroupBox9).contains("Image9"));

    // A label is left out only while it has nothing to say.
    form.ui.Label_ram->clear();
    EXPECT_FALSE(children(form.ui.GroupBox8).contains("Label_ram"));
    form.ui.Label_ram->setText("RAM Installée : 1 MB");
    EXPECT_TRUE(children(form.ui.GroupBox8).contains("Label_ram"));

    QAccessibleTableInterface* table = Of(form.ui.ListView1)->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Name(form.ui.ListView1), "Fonctions du processeur");
    EXPECT_EQ(table->columnDescription(0), "Fonction");
    EXPECT_EQ(table->columnDescription(1), "Description");
}

TEST_F(ScreenReader, EditableControlsAreReadByTheirCaptions)
{
    TfMainMem& form = Form();
    EXPECT_EQ(Name(form.ui.CbCache), "Optimisation du cache :");
    EXPECT_EQ(Name(form.ui.CbCache->lineEdit()), "Optimisation du cache :");
    const QString hotKey = "\"HotKey\" cette combinaison de touche lance l'optimisation !";
    auto* line = form.ui.HotKey1->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(Name(line), hotKey);
    // The clear button comes with the field's first showing, and is named then.
    EXPECT_TRUE(line->findChildren<QToolButton*>().isEmpty()) << "no clear button before the field is shown";
    form.show();
    form.ui.Memoire->setCurrentWidget(form.ui.TabSheet3);
    const QList<QToolButton*> clear = line->findChildren<QToolButton*>();
    ASSERT_FALSE(clear.isEmpty());
    EXPECT_EQ(Name(clear.first()), "Effacer le raccourci");

    QAccessibleInterface* method = Of(form.ui.RadioGroup1);
    ASSERT_EQ(method->childCount(), 3);
    EXPECT_EQ(method->child(0)->text(QAccessible::Name), "Système");
    EXPECT_EQ(Of(form.ui.RadioButton3)->parent()->object(), form.ui.RadioGroup1);
    // Still one group of three, and still no items of the frame.
    form.ui.RadioButton2->setChecked(true);
    EXPECT_FALSE(form.ui.RadioButton1->isChecked());
    EXPECT_EQ(form.ui.RadioGroup1->ItemIndex(), -1);
}

TEST_F(ScreenReader, TabLeavesTheHotKeyFieldWithItsKeyUnchanged)
{
    TfMainMem& form = Form();
    ShowActive(form);
    form.ui.Memoire->setCurrentWidget(form.ui.TabSheet3);
    THotKeyEdit* field = form.ui.HotKey1;
    field->setFocus(Qt::TabFocusReason);
    const QKeySequence before = field->keySequence();
    KeyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_EQ(field->keySequence(), before);
    field->setFocus(Qt::TabFocusReason);
    KeyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_EQ(field->keySequence(), before);
    field->setFocus(Qt::TabFocusReason);
    KeyClick(field, Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);  // a combination like any other
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->keySequence(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Tab));
}

TEST_F(ScreenReader, TheCurrentPageTabIsSelectedAndALeftTableLetsGoOfItsCell)
{
    TfMainMem& form = Form();
    ShowActive(form);
    QTabBar* bar = form.ui.Memoire->tabBar();
    QAccessibleInterface* tabs = Of(bar);
    ASSERT_EQ(tabs->childCount(), 6);
    EXPECT_TRUE(tabs->text(QAccessible::Name).isEmpty());  // not the current tab's caption
    EXPECT_EQ(tabs->child(4)->text(QAccessible::Name), "Processeur");
    EXPECT_TRUE(tabs->child(0)->state().selected);
    EXPECT_FALSE(tabs->child(4)->state().selected);

    tabs->child(4)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(form.ui.Memoire->currentWidget(), form.ui.TabSheet4);
    EXPECT_FALSE(tabs->child(0)->state().selected);
    EXPECT_TRUE(tabs->child(4)->state().selected);

    form.ui.ListView1->setFocus();
    form.ui.ListView1->setCurrentItem(form.ui.ListView1->topLevelItem(2));
    QAccessibleTableInterface* table = Of(form.ui.ListView1)->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->cellAt(2, 0)->state().focused);
    form.ui.Memoire->setCurrentIndex(0);
    for (int row = 0; row < 5; ++row)
        EXPECT_FALSE(table->cellAt(row, 0)->state().focused) << row;
}

TEST_F(ScreenReader, TheLinksWorkFromTheKeyboardAndAreReadAsLinks)
{
    TfMainMem& form = Form();
    ShowActive(form);
    form.ui.Memoire->setCurrentWidget(form.ui.TabSheet2);
    QLabel* web = form.ui.Label32;
    QLabel* mail = form.ui.Label11;
    EXPECT_EQ(Of(web)->role(), QAccessible::Link);
    EXPECT_EQ(Name(web), "https://mnemora-xp.example.org/");
    EXPECT_EQ(Name(mail), "Email : auteur@example.org");
    EXPECT_TRUE(Of(mail)->state().focusable);

    // Tab goes from one link to the next, then to the news button.
    web->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(255, 0, 0));  // the hover look
    KeyClick(web, Qt::Key_Tab);
    EXPECT_TRUE(mail->hasFocus());
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    KeyClick(mail, Qt::Key_Tab);
    EXPECT_TRUE(form.ui.Button1->hasFocus());
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    KeyClick(web, Qt::Key_Return);
    KeyClick(mail, Qt::Key_Space);
    KeyClick(web, Qt::Key_A);  // only Enter and Space open a link
    KeyClick(web, Qt::Key_Return, Qt::ControlModifier);
    Of(web)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

    // Enter presses a button as it opens a link.
    KeyClick(form.ui.Button1, Qt::Key_Return);
    EXPECT_TRUE(form.NewsFeed1->Dialog()->isVisible());
    EXPECT_EQ(shell.opened, QStringList({"https://mnemora-xp.example.org/",
                                         "mailto:auteur@example.org?subject=Mnemora Xp Version : 4.0.0&body=",
                                         "https://mnemora-xp.example.org/"}));
}

}  // namespace
