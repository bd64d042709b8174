// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <gmock/gmock.h>

#include "hotkey/ShortCut.h"
#include "widgets/ComboBox.h"
#include "widgets/Gauge.h"
#include "widgets/HotKeyEdit.h"
#include "widgets/PageControl.h"
#include "widgets/RadioGroup.h"
#include "widgets/SpinEdit.h"
#include "widgets/StatusGauge.h"

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// The colour of a widget's pixel, as drawn offscreen.
QColor PixelOf(QWidget& widget, int x, int y)
{
    return widget.grab().toImage().pixelColor(x, y);
}

TEST(Gauge, PercentModeShowsTheShareOfTheMaximumRoundedHalfToEven)
{
    TGauge gauge;
    gauge.SetPercentMode(true);
    gauge.SetSuffix(QStringLiteral("%"));
    gauge.setMaximum(200);
    gauge.setValue(25);  // 12.5 %
    EXPECT_EQ(gauge.text(), QStringLiteral("12%"));
    gauge.setValue(75);  // 37.5 %
    EXPECT_EQ(gauge.text(), QStringLiteral("38%"));
    gauge.setValue(200);
    EXPECT_EQ(gauge.text(), QStringLiteral("100%"));

    gauge.setRange(0, 0);
    EXPECT_EQ(gauge.text(), QStringLiteral("0%"));
}

TEST(Gauge, PlainModeShowsThePositionAndKeepsItWhenOutOfRange)
{
    TGauge gauge;
    gauge.SetSuffix(QStringLiteral("%"));
    EXPECT_EQ(gauge.value(), 0);
    gauge.setValue(42);
    EXPECT_EQ(gauge.text(), QStringLiteral("42%"));
    gauge.setValue(101);
    gauge.setValue(-1);
    EXPECT_EQ(gauge.value(), 42);
    EXPECT_EQ(gauge.text(), QStringLiteral("42%"));
}

TEST(Gauge, DrawsTheBarUpToThePositionOverAWhiteGround)
{
    TGauge gauge;
    gauge.resize(102, 17);
    gauge.setValue(50);
    const QColor bar = PixelOf(gauge, 10, 3);
    EXPECT_NE(bar, QColor(Qt::white));
    EXPECT_EQ(PixelOf(gauge, 90, 3), QColor(Qt::white));
    EXPECT_EQ(PixelOf(gauge, 0, 8), QColor(Qt::black));  // the border

    gauge.SetTransparentPicture(true);
    const QColor seeThrough = PixelOf(gauge, 10, 3);
    EXPECT_NE(seeThrough, bar);
    EXPECT_NE(seeThrough, QColor(Qt::white));
}

TEST(StatusGauge, TextStaysWhatWasSetWhileTheBarFollowsThePosition)
{
    TStatusGauge gauge;
    gauge.resize(100, 19);
    gauge.SetText(QStringLiteral(" "));
    gauge.setValue(40);
    EXPECT_EQ(gauge.text(), QStringLiteral(" "));
    EXPECT_EQ(PixelOf(gauge, 10, 9), QColor(0, 0, 128));
    EXPECT_NE(PixelOf(gauge, 80, 9), QColor(0, 0, 128));
    gauge.setValue(150);  // out of range: kept
    EXPECT_EQ(gauge.value(), 40);
}

TEST(SpinEdit, EqualBoundsMeanNoBoundsOtherwiseValuesAreHeldToThem)
{
    TSpinEdit spin;
    spin.setValue(1'000'000);
    EXPECT_EQ(spin.Value(), 1'000'000);
    spin.setValue(-5);
    EXPECT_EQ(spin.Value(), -5);

    spin.SetMinValue(0);
    spin.SetMaxValue(100);
    spin.setValue(150);
    EXPECT_EQ(spin.Value(), 100);
    spin.setValue(-3);
    EXPECT_EQ(spin.Value(), 0);
}

TEST(SpinEdit, TextThatIsNoNumberReadsAsTheLowestValueAndBecomesItOnLeaving)
{
    TSpinEdit spin;
    spin.SetMinValue(5);
    spin.SetMaxValue(60);
    spin.setValue(45);
    QList<int> changes;
    QObject::connect(&spin, &QSpinBox::valueChanged, [&](int value) { changes << value; });

    spin.findChild<QLineEdit*>()->setText(QString());
    EXPECT_EQ(spin.Value(), 5);

    spin.interpretText();
    EXPECT_EQ(spin.value(), 5);
    EXPECT_EQ(spin.text(), QStringLiteral("5"));
    EXPECT_EQ(changes, QList<int>({5}));
}

TEST(RadioGroup, ItemsBecomeButtonsKnownByTheirIndex)
{
    TRadioGroup group;
    group.SetItems({QStringLiteral("pourcentage"), QStringLiteral("MB libres")});
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(1);
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_TRUE(group.Button(1)->isChecked());
    EXPECT_EQ(group.Button(1)->text(), QStringLiteral("MB libres"));

    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_FALSE(group.Button(0)->isChecked());
    EXPECT_FALSE(group.Button(1)->isChecked());

    // Out of range, the index is clamped: past the end the last item, below -1 no choice.
    group.SetItemIndex(7);
    EXPECT_EQ(group.ItemIndex(), 1);
    group.SetItemIndex(-3);
    EXPECT_EQ(group.ItemIndex(), -1);
}

TEST(RadioGroup, OnlyAUserClickIsReported)
{
    TRadioGroup group;
    group.SetItems({QStringLiteral("Les applications"), QStringLiteral("Le cache système")});
    QList<int> clicks;
    QObject::connect(group.Buttons(), &QButtonGroup::idClicked, [&](int id) { clicks << id; });

    group.SetItemIndex(1);
    EXPECT_EQ(clicks.count(), 0);

    group.Button(0)->click();
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(clicks, QList<int>({0}));
}

TEST(RadioGroup, ReloadingItemsOrColumnsKeepsTheChoiceAndLaysOutColumns)
{
    TRadioGroup group;
    group.resize(180, 44);
    group.SetItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    group.SetItemIndex(2);
    group.SetColumns(2);
    EXPECT_EQ(group.ItemIndex(), 2);
    group.show();
    QApplication::processEvents();
    // Two rows per column: a and b in the first, c beside a.
    EXPECT_EQ(group.Button(0)->x(), group.Button(1)->x());
    EXPECT_GT(group.Button(2)->x(), group.Button(0)->x());
    EXPECT_EQ(group.Button(2)->y(), group.Button(0)->y());

    group.SetItems({QStringLiteral("x")});
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_EQ(group.Buttons()->buttons().size(), 1);
}

TEST(ComboBox, LoadedItemsLeaveNoneChosenAndTheTextAsItWas)
{
    TComboBox combo;
    combo.SetText(QStringLiteral("65536 KB ( RAM > 256 MB )"));
    combo.SetItems({QStringLiteral("4096   KB ( RAM <= 32 MB )"), QStringLiteral("65536 KB ( RAM > 256 MB )")});
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.Text(), QStringLiteral("65536 KB ( RAM > 256 MB )"));
    EXPECT_EQ(combo.Items().size(), 2);
}

TEST(ComboBox, TypingNeverAddsAnItem)
{
    TComboBox combo;
    combo.SetItems({QStringLiteral("4096   KB ( RAM <= 32 MB )")});
    combo.lineEdit()->setText(QStringLiteral("1234"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(combo.lineEdit(), &enter);
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.Text(), QStringLiteral("1234"));
}

void Press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&widget, &release);
}

TEST(HotKeyEdit, EachCombinationReplacesTheLastAndIsReportedAtOnce)
{
    THotKeyEdit edit;
    edit.setKeySequence(QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    QStringList reported;
    QObject::connect(&edit, &QKeySequenceEdit::keySequenceChanged,
                     [&](const QKeySequence& keys) { reported << keys.toString(QKeySequence::PortableText); });

    Press(edit, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    Press(edit, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(edit.keySequence(), QKeySequence(QStringLiteral("Ctrl+B")));
    EXPECT_EQ(edit.keySequence().count(), 1);

    EXPECT_EQ(reported, QStringList({QStringLiteral("Ctrl+Shift+A"), QStringLiteral("Ctrl+B")}));
}

TEST(HotKeyEdit, AModifierAloneChangesNothingBackspaceEmpties)
{
    THotKeyEdit edit;
    edit.setKeySequence(QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    QStringList reported;
    QObject::connect(&edit, &QKeySequenceEdit::keySequenceChanged,
                     [&](const QKeySequence& keys) { reported << keys.toString(QKeySequence::PortableText); });

    Press(edit, Qt::Key_Control, Qt::ControlModifier);
    Press(edit, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit.keySequence(), QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    Press(edit, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);  // the same again: no change
    EXPECT_TRUE(reported.isEmpty());

    Press(edit, Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_TRUE(edit.keySequence().isEmpty());
    EXPECT_EQ(reported, QStringList({QString()}));
}

// A key event as X11 delivers it: Qt's key is the character typed, the scan code the key pressed.
void PressKey(QWidget& widget, int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, scanCode, 0, 0);
    QApplication::sendEvent(&widget, &press);
}

TEST(HotKeyEdit, TheCombinationIsTheKeyPressedNotTheCharacterTyped)
{
    THotKeyEdit edit;
    // What the desktop says the keys are: 10 is the "1" key, 11 the "2" key, 48 the key right of
    // the semicolon's place.
    edit.KeyOfScanCode = [](std::uint32_t scanCode) -> std::optional<QKeyCombination> {
        switch (scanCode) {
        case 10: return QKeyCombination(Qt::Key_1);
        case 11: return QKeyCombination(Qt::Key_2);
        case 48: return QKeyCombination(Qt::Key_Apostrophe);
        default: return std::nullopt;
        }
    };
    PressKey(edit, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 10);  // US Ctrl+Shift+1
    EXPECT_EQ(edit.keySequence(), QKeySequence(QStringLiteral("Ctrl+Shift+1")));
    PressKey(edit, Qt::Key_Eacute, Qt::ControlModifier | Qt::AltModifier, 11);  // French "2/é"
    EXPECT_EQ(edit.keySequence(), QKeySequence(QStringLiteral("Ctrl+Alt+2")));
    PressKey(edit, Qt::Key_Ugrave, Qt::ControlModifier | Qt::AltModifier, 48);  // French "ù"
    EXPECT_EQ(edit.ShortCut(), kScCtrl | kScAlt | 0xDE) << "the key in the US apostrophe's place";
    EXPECT_EQ(edit.keySequence(), QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Ugrave)))
        << "shown as the key's own character";
    PressKey(edit, Qt::Key_Percent, Qt::ControlModifier | Qt::ShiftModifier, 48);
    EXPECT_EQ(edit.ShortCut(), kScCtrl | kScShift | 0xDE);
    EXPECT_EQ(edit.keySequence(), QKeySequence(QStringLiteral("Ctrl+Shift+'"))) << "shifted, by its US name";
    edit.setKeySequence(QKeySequence(QStringLiteral("Alt+F3")));
    EXPECT_EQ(edit.ShortCut(), kScAlt | 0x72) << "a combination set from code";
    PressKey(edit, Qt::Key_F7, Qt::AltModifier, 0);  // a key the desktop does not name: Qt's key
    EXPECT_EQ(edit.keySequence(), QKeySequence(QStringLiteral("Alt+F7")));
}

TEST(HotKeyEdit, KeysTheHotKeyCannotNameLeaveTheFieldAsItWas)
{
    THotKeyEdit edit;
    edit.setKeySequence(QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    Press(edit, Qt::Key_VolumeMute, Qt::ControlModifier);
    Press(edit, Qt::Key_Eacute, Qt::ControlModifier | Qt::AltModifier);  // no scan code to go by
    Press(edit, Qt::Key_T, Qt::MetaModifier | Qt::ControlModifier);     // the logo key
    EXPECT_EQ(edit.keySequence(), QKeySequence(QStringLiteral("Ctrl+Shift+R")));
}

TEST(PageControl, SixFrenchCaptionsFitTheWindowWidth)
{
    TPageControl pages;
    QFont font;
    font.setPointSize(8);
    pages.setFont(font);
    pages.resize(449, 289);
    for (const char* caption : {"Système", "Réglages", "Paramètres", "Informations", "Processeur", "A propos de..."})
        pages.addTab(new QWidget, QString::fromUtf8(caption));
    pages.show();
    QApplication::processEvents();
    const QTabBar* bar = pages.tabBar();
    EXPECT_LE(bar->tabRect(5).right(), pages.width());
    for (int i = 0; i < bar->count(); ++i)
        EXPECT_GE(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i))) << i;
}

TEST(PageControl, HotTrackingColoursTheCaptionUnderTheMouse)
{
    TPageControl pages;
    pages.SetHotTrack(true);
    pages.addTab(new QWidget, QStringLiteral("one"));
    pages.addTab(new QWidget, QStringLiteral("two"));
    pages.resize(300, 100);
    pages.show();
    QApplication::processEvents();
    QTabBar* bar = pages.tabBar();

    const QPointF overTwo = bar->tabRect(1).center();
    QMouseEvent move(QEvent::MouseMove, overTwo, bar->mapToGlobal(overTwo), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(bar->tabTextColor(1), bar->palette().color(QPalette::Highlight));
    EXPECT_FALSE(bar->tabTextColor(0).isValid());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    EXPECT_FALSE(bar->tabTextColor(1).isValid());

    pages.SetHotTrack(false);
    QApplication::sendEvent(bar, &move);
    EXPECT_FALSE(bar->tabTextColor(1).isValid());
}

}  // namespace
