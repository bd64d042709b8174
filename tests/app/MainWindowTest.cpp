// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>

#include "app/MainWindowFixture.h"
#include "support/EventWait.h"
#include "hotkey/ShortCut.h"

namespace {

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, StartUpPutsEveryControlInItsFirstState)
{
    TfMainMem& form = Form();
    EXPECT_EQ(form.windowTitle(), "Mnemora XP");
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.ui.Label2->text().endsWith("Version : 4.0.0 du 07/02/2003.")) << form.ui.Label2->text().toStdString();
    EXPECT_FALSE(form.TrayIcon1->IconVisible());
    EXPECT_FALSE(tray.inTray);
    EXPECT_TRUE(form.ui.Normale1->isChecked());
    EXPECT_TRUE(form.ui.TrackBar2->isEnabled());
    EXPECT_TRUE(form.ui.cbxballoon->isEnabled());
    EXPECT_EQ(form.ui.Memoire->currentIndex(), 0);
    EXPECT_EQ(form.ui.Label_ram->text(), "RAM Installée : 1023 MB");
    EXPECT_EQ(form.ui.TrackBar1->minimum(), 0);
    EXPECT_EQ(form.ui.TrackBar1->maximum(), 1023);
    EXPECT_EQ(form.ui.TrackBar1->value(), 512) << "511.5 goes to the even 512";
    EXPECT_EQ(form.ui.Label4->text(), "512 MB");
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_DOUBLE_EQ(form.windowOpacity(), 1.0);
    EXPECT_FALSE(form.RunReport().Running());
    EXPECT_FALSE(form.ui.BitBtn3->isEnabled());
    EXPECT_TRUE(form.ui.BitBtn1->isEnabled());
    EXPECT_TRUE(form.ui.RecoverRam1->isEnabled());
    EXPECT_FALSE(form.ui.Cancel1->isEnabled());
    EXPECT_EQ(form.ui.PerfChart1->PlotColor(), QColor(0, 255, 0));
    for (TTimer* timer : {form.Timer1, form.Timer2, form.Timer3, form.Timer4})
        EXPECT_TRUE(timer->Enabled());
    EXPECT_FALSE(form.Timer5->Enabled());
    EXPECT_EQ(form.Timer4->Interval(), 500);
    EXPECT_EQ(form.Timer5->Interval(), 1000) << "the minutes replace it only when the interval trigger starts";
    ASSERT_TRUE(hotKeys.held.has_value());
    EXPECT_EQ(KeyCombinationToShortCut(*hotKeys.held), kDefaultHotKey);
    EXPECT_EQ(form.ui.StatusPanel0->Text(), " 0 %");
    EXPECT_EQ(form.ui.StatusPanel1->Text(), " 100 %");
    EXPECT_EQ(form.ui.StatusPanel2->Text(), " ");
    EXPECT_EQ(form.ui.ListView1->header()->sectionSize(0), 100);
    EXPECT_EQ(form.ui.ListView1->header()->sectionSize(1), 200);
    EXPECT_FALSE(form.ui.ListView1->header()->stretchLastSection());
    EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindow, HalfASecondAfterStartTheWindowGoesToTheTray)
{
    TfMainMem& form = Form();
    form.show();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(WaitUntil([&] { return !form.isVisible(); }));
    EXPECT_TRUE(tray.inTray);
    EXPECT_FALSE(form.Timer4->Enabled());
    EXPECT_EQ(tray.Count(platform::FakeTrayHost::Call::Add), 1) << "the icon docks once, from the timer";
}

// The window is the only way back to a program that has no notification area to live in.
TEST_F(MainWindow, WithoutATrayTheWindowStaysAfterStart)
{
    tray.available = false;
    TfMainMem& form = Form();
    form.show();
    ASSERT_TRUE(WaitUntil([&] { return !form.Timer4->Enabled(); }));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.TrayIcon1->IconVisible()) << "a tray that comes later shows it";
    EXPECT_EQ(tray.menu, form.menus.PopupMenu1) << "a tray that opens the menu itself gets the tray menu";

    // A tray comes: its icon is there, and the window stays where the user left it.
    tray.available = true;
    tray.Raise(platform::TrayNotice::HostRecreated);
    EXPECT_TRUE(tray.inTray);
    EXPECT_TRUE(form.isVisible());
}

// A panel that quits or restarts takes the tray away: the window hidden in it comes back, as with
// no tray at start, and the icon returns with the next tray.
TEST_F(MainWindow, WhenTheTrayGoesAwayTheHiddenWindowComesBack)
{
    TfMainMem& form = Form();
    form.show();
    form.Timer4Timer();
    ASSERT_FALSE(form.isVisible());
    form.ui.Memoire->setCurrentIndex(3);
    tray.GoAway();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.ui.Memoire->currentIndex(), 0);
    form.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.isVisible()) << "with no tray, minimising keeps the window in the task bar";
    tray.available = true;
    tray.Raise(platform::TrayNotice::HostRecreated);
    EXPECT_TRUE(tray.inTray);
}

// "mnemora-xp --show" with no instance running: the window stays on screen, the icon still goes
// to the tray.
TEST_F(MainWindow, StartedToShowTheWindowStays)
{
    TfMainMem& form = Form();
    form.KeepWindowAtStart = true;
    form.show();
    ASSERT_TRUE(WaitUntil([&] { return !form.Timer4->Enabled(); }));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(tray.inTray);
}

// A Wayland desktop without global shortcuts: the key field says the key does nothing and how
// to get a recovery from a key anyway.
TEST_F(MainWindow, WhereTheDesktopHoldsNoKeyTheHotKeyFieldSaysWhatToDo)
{
    EXPECT_FALSE(Form().ui.HotKey1->toolTip().contains(QStringLiteral("mnemora-xp --recover")));
    EXPECT_TRUE(form->ui.Label28->text().endsWith(QStringLiteral("lance l'optimisation !")));
    form.reset();
    hotKeys.canHoldKeys = false;
    // Where the eye is: the line under the field no longer says the key starts a run.
    EXPECT_EQ(Form().ui.Label28->text(),
              QStringLiteral("Raccourci inactif sur ce bureau : associez « mnemora-xp --recover » à une touche du bureau."));
    EXPECT_EQ(Form().ui.HotKey1->toolTip(),
              QStringLiteral("Ce raccourci n'est pas actif sur ce bureau : associez la commande « mnemora-xp --recover » "
                             "à une touche dans les raccourcis clavier du bureau."));
}

TEST_F(MainWindow, TheThreeWaysBackShowTheFirstPageWithTheIcon)
{
    TfMainMem& form = Form();
    for (const platform::TrayNotice way : {platform::TrayNotice::DoubleClick, platform::TrayNotice::BalloonClicked}) {
        form.Timer4Timer();
        form.ui.Memoire->setCurrentIndex(3);
        tray.Raise(way);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.ui.Memoire->currentIndex(), 0);
        EXPECT_TRUE(tray.inTray);
    }
    form.Timer4Timer();
    form.ui.Memoire->setCurrentIndex(2);
    form.ui.Open1->trigger();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.ui.Memoire->currentIndex(), 0);
}

TEST_F(MainWindow, ASecondStartShowsTheWindowWhereItWas)
{
    TfMainMem& form = Form();
    form.show();
    form.Timer4Timer();
    form.ui.Memoire->setCurrentIndex(4);
    form.showMinimized();
    form.WMUser();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isMinimized());
    EXPECT_EQ(form.ui.Memoire->currentIndex(), 4);
    EXPECT_TRUE(tray.inTray);
    EXPECT_EQ(tray.Count(platform::FakeTrayHost::Call::Delete), 1) << "only the start-up hid the icon";
}

TEST_F(MainWindow, QuitHidesTheIconAndStopsARunAtItsNextStep)
{
    TfMainMem& form = Form();
    form.Timer4Timer();
    int afterEvents = 0;
    events.onDrain = [&](int drain) {
        if (drain == 2)
            form.ui.Exit1->trigger();
        return false;
    };
    const TNotifyEvent after = form.RamRecovery1->OnAfterDefrag;
    form.RamRecovery1->OnAfterDefrag = [&](QObject* sender) {
        ++afterEvents;
        after(sender);
    };
    form.ui.RadioButton2->setChecked(true);
    form.ui.TrackBar1->setValue(10);
    form.RecupRam();
    EXPECT_EQ(memory.commits, 2);
    EXPECT_EQ(afterEvents, 1) << "the end of the run is still reported";
    EXPECT_TRUE(form.ui.StatusPanel2->Text().startsWith(" Quantité récupérée : "));
    EXPECT_FALSE(tray.inTray);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainWindow, OpacityFollowsTheTrackBarWithAPercentHint)
{
    TfMainMem& form = Form();
    form.ui.TrackBar2->setValue(128);
    EXPECT_DOUBLE_EQ(form.windowOpacity(), 128 / 255.0);
    EXPECT_EQ(form.ui.TrackBar2->toolTip(), "50%");
    // At 0 the window used to vanish for good: nobody could see it to set it back.
    form.ui.TrackBar2->setValue(0);
    EXPECT_EQ(form.ui.TrackBar2->toolTip(), "0%") << "the hint says the position";
    EXPECT_GE(form.windowOpacity(), 0.1) << "never less than a tenth opaque";
    form.ui.TrackBar2->setValue(20);
    EXPECT_GE(form.windowOpacity(), 0.1);
    form.ui.TrackBar2->setValue(30);
    EXPECT_DOUBLE_EQ(form.windowOpacity(), 30 / 255.0);
    form.ui.TrackBar2->setValue(255);
    EXPECT_EQ(form.ui.TrackBar2->toolTip(), "100%");
}

TEST_F(MainWindow, StayOnTopFollowsTheCheckBoxAndEveryActivation)
{
    TfMainMem& form = Form();
    form.show();
    form.ui.CheckBox2->setChecked(false);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible()) << "a new window level does not hide a shown window";
    form.FormActivate();
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form.ui.CheckBox2->setChecked(true);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(MainWindow, TheHotKeyFollowsTheEditAndStartsARun)
{
    TfMainMem& form = Form();
    const QKeyCombination ctrlShiftR(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R);
    const QKeyCombination altF9(Qt::AltModifier, Qt::Key_F9);

    form.ui.HotKey1->setKeySequence(QKeySequence(altF9));
    ASSERT_TRUE(hotKeys.held.has_value());
    EXPECT_EQ(*hotKeys.held, altF9);
    hotKeys.Press(ctrlShiftR);
    EXPECT_EQ(memory.commits, 0) << "the old combination no longer works";

    hotKeys.Press(altF9);
    EXPECT_EQ(memory.commits, 512) << "a Système run on 1023 MB";

    form.ui.HotKey1->clear();
    EXPECT_FALSE(hotKeys.held.has_value());
}

void TypeInto(QWidget& field, int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, scanCode, 0, 0);
    QApplication::sendEvent(&field, &press);
}

TEST_F(MainWindow, TheHotKeyIsTheKeyPressedOnAFrenchKeyboard)
{
    hotKeys.keyboard = {{10, QKeyCombination(Qt::Key_1)}, {11, QKeyCombination(Qt::Key_2)}};
    TfMainMem& form = Form();
    const QKeyCombination ctrlAlt2(Qt::ControlModifier | Qt::AltModifier, Qt::Key_2);
    TypeInto(*form.ui.HotKey1, Qt::Key_Eacute, Qt::ControlModifier | Qt::AltModifier, 11);
    EXPECT_EQ(form.ui.HotKey1->keySequence(), QKeySequence(ctrlAlt2));
    ASSERT_TRUE(hotKeys.held.has_value());
    EXPECT_EQ(*hotKeys.held, ctrlAlt2);
    hotKeys.Press(ctrlAlt2);
    EXPECT_EQ(memory.commits, 512);

    TypeInto(*form.ui.HotKey1, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 10);
    EXPECT_EQ(form.ui.HotKey1->keySequence().toString(QKeySequence::PortableText), "Ctrl+Shift+1");
    EXPECT_EQ(*hotKeys.held, QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_1));
}

TEST_F(MainWindow, AKeyThatTypesTextIsShownButNotTakenFromOtherPrograms)
{
    TfMainMem& form = Form();
    const QKeyCombination ctrlShiftR(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R);
    for (const QKeyCombination typing : {QKeyCombination(Qt::Key_A), QKeyCombination(Qt::ShiftModifier, Qt::Key_A),
                                         QKeyCombination(Qt::Key_5), QKeyCombination(Qt::Key_Space),
                                         QKeyCombination(Qt::Key_Comma), QKeyCombination(Qt::KeypadModifier, Qt::Key_5)}) {
        form.ui.HotKey1->setKeySequence(QKeySequence(typing));
        EXPECT_EQ(form.ui.HotKey1->keySequence(), QKeySequence(typing));
        ASSERT_TRUE(hotKeys.held.has_value());
        EXPECT_EQ(*hotKeys.held, ctrlShiftR) << QKeySequence(typing).toString().toStdString();
    }
    for (const QKeyCombination grabbed : {QKeyCombination(Qt::Key_F5), QKeyCombination(Qt::ShiftModifier, Qt::Key_F5),
                                          QKeyCombination(Qt::AltModifier, Qt::Key_A),
                                          QKeyCombination(Qt::ControlModifier, Qt::Key_5), QKeyCombination(Qt::Key_Escape)}) {
        form.ui.HotKey1->setKeySequence(QKeySequence(grabbed));
        ASSERT_TRUE(hotKeys.held.has_value());
        EXPECT_EQ(*hotKeys.held, grabbed) << QKeySequence(grabbed).toString().toStdString();
    }
}

TEST(ProgramIcon, ComesInSixSizesEachItsOwnDrawing)
{
    QIcon icon = TApplication::ProgramIcon();
    ASSERT_EQ(icon.availableSizes().size(), 6);
    for (int size : {16, 24, 32, 48, 64, 128}) {
        const QImage drawing(QStringLiteral(":/icons/mnemora-xp-%1.png").arg(size));
        const QImage given = icon.pixmap(QSize(size, size), 1.0).toImage();
        EXPECT_TRUE(given.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
                    drawing.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << size;
    }
    // Between two sizes, the larger drawing shrunk; past the largest, the largest as it is.
    EXPECT_EQ(icon.actualSize(QSize(40, 40)), QSize(40, 40));
    EXPECT_EQ(icon.pixmap(QSize(40, 40), 1.0).toImage(),
              icon.pixmap(QSize(48, 48), 1.0).toImage().scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    EXPECT_EQ(icon.actualSize(QSize(512, 512)), QSize(128, 128));
    EXPECT_NE(icon.pixmap(QSize(16, 16), 1.0, QIcon::Disabled).toImage(), icon.pixmap(QSize(16, 16), 1.0).toImage())
        << "greyed for a control that is off";
}

TEST_F(MainWindow, AnErrorLetThroughIsShownAndTheProgramCarriesOn)
{
    EXPECT_FALSE(TApplication::RunGuarded([]() -> bool { throw ProgramError("Failed to get data for 'x'"); }));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Failed to get data for 'x'");
    EXPECT_TRUE(TApplication::RunGuarded([] { return true; }));
    EXPECT_EQ(errors.size(), 1u);
}

TEST_F(MainWindow, InstalledMemoryRoundsHalvesToEven)
{
    for (const auto& [totalHalfMb, installed] : std::vector<std::pair<std::int64_t, std::int64_t>>{{25, 12}, {27, 14}}) {
        memory.status.totalPhys = totalHalfMb * kMiB / 2;
        form.reset();
        EXPECT_EQ(Form().ui.Label_ram->text(), QStringLiteral("RAM Installée : %1 MB").arg(installed)) << totalHalfMb << " half-megabytes";
        EXPECT_EQ(form->ui.TrackBar1->maximum(), installed);
    }
}

}  // namespace
