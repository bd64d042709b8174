// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>

#include <memory>
#include <string>
#include <vector>

#include "hotkey/GlobalHotKey.h"
#include "platform/fake/FakeHotKeyGrabber.h"

namespace {

const QKeyCombination kCtrlShiftR(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R);
const QKeyCombination kAltF4(Qt::AltModifier, Qt::Key_F4);
constexpr TShortCut kAltF4Value = kScAlt | 0x73;

struct Press {
    QObject* sender;
    std::uint16_t key;
    Qt::KeyboardModifiers shift;
};

class GlobalHotKeyTest : public ::testing::Test {
protected:
    GlobalHotKeyTest()
    {
        hotKey->OnKeyDown = [this](QObject* sender, std::uint16_t key, Qt::KeyboardModifiers shift) {
            presses.push_back({sender, key, shift});
        };
    }

    platform::FakeHotKeyGrabber grabber;
    std::vector<std::string> errors;
    std::vector<Press> presses;
    std::unique_ptr<TGlobalHotKey> hotKey = std::make_unique<TGlobalHotKey>(
        grabber, [this](const std::exception& error) { errors.emplace_back(error.what()); });
};

TEST_F(GlobalHotKeyTest, StartsActiveWithNothingHeld)
{
    EXPECT_TRUE(hotKey->Active());
    EXPECT_EQ(hotKey->HotKey(), 0);
    EXPECT_TRUE(grabber.registrations.empty());
    EXPECT_FALSE(grabber.held);
}

TEST_F(GlobalHotKeyTest, PressFiresWithTheKeyAndShiftOfTheHotKey)
{
    hotKey->SetHotKey(kDefaultHotKey);
    ASSERT_EQ(grabber.held, kCtrlShiftR);

    grabber.Press(kCtrlShiftR);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].sender, hotKey.get());
    EXPECT_EQ(presses[0].key, 'R');
    EXPECT_EQ(presses[0].shift, Qt::ControlModifier | Qt::ShiftModifier);

    hotKey->OnKeyDown = nullptr;
    grabber.Press(kCtrlShiftR);  // an unbound event is simply not fired
    EXPECT_EQ(presses.size(), 1u);
}

TEST_F(GlobalHotKeyTest, ChangingOrClearingTheCombinationWithdrawsTheOldOne)
{
    hotKey->SetHotKey(kDefaultHotKey);
    hotKey->SetHotKey(kAltF4Value);
    EXPECT_EQ(grabber.held, kAltF4);
    EXPECT_EQ(grabber.unregistrations, 1);

    grabber.Press(kCtrlShiftR);
    grabber.Press(kAltF4);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].key, 0x73);
    EXPECT_EQ(presses[0].shift, Qt::AltModifier);

    hotKey->SetHotKey(0);
    EXPECT_FALSE(grabber.held);
    EXPECT_EQ(hotKey->HotKey(), 0);
    grabber.Press(kAltF4);
    EXPECT_EQ(presses.size(), 1u);
}

TEST_F(GlobalHotKeyTest, SettingTheSameValueDoesNothing)
{
    hotKey->SetHotKey(kDefaultHotKey);
    hotKey->SetHotKey(kDefaultHotKey);
    EXPECT_EQ(grabber.registrations.size(), 1u);
    EXPECT_EQ(grabber.unregistrations, 0);

    hotKey->SetActive(true);
    EXPECT_EQ(grabber.registrations.size(), 1u);
    EXPECT_EQ(grabber.unregistrations, 0);
}

TEST_F(GlobalHotKeyTest, ActiveWithdrawsAndRegistersTheCurrentValue)
{
    hotKey->SetHotKey(kDefaultHotKey);
    hotKey->SetActive(false);
    EXPECT_FALSE(grabber.held);
    grabber.Press(kCtrlShiftR);
    EXPECT_TRUE(presses.empty());

    // While inactive the value is kept but not taken from the desktop.
    hotKey->SetHotKey(kAltF4Value);
    EXPECT_EQ(hotKey->HotKey(), kAltF4Value);
    EXPECT_EQ(grabber.registrations.size(), 1u);

    hotKey->SetActive(true);
    EXPECT_EQ(grabber.held, kAltF4);
    grabber.Press(kAltF4);
    EXPECT_EQ(presses.size(), 1u);
}

TEST_F(GlobalHotKeyTest, ActiveWithoutAValueTakesNothing)
{
    hotKey->SetActive(false);
    hotKey->SetActive(true);
    EXPECT_TRUE(grabber.registrations.empty());
    EXPECT_FALSE(grabber.held);
}

TEST_F(GlobalHotKeyTest, TakenCombinationFailsSilentlyAndKeepsTheValue)
{
    grabber.taken.insert(kAltF4.toCombined());
    hotKey->SetHotKey(kDefaultHotKey);
    hotKey->SetHotKey(kAltF4Value);

    EXPECT_EQ(hotKey->HotKey(), kAltF4Value);
    EXPECT_FALSE(grabber.held);  // and the previous combination is not left working
    EXPECT_TRUE(errors.empty());
    grabber.Press(kCtrlShiftR);
    grabber.Press(kAltF4);
    EXPECT_TRUE(presses.empty());

    grabber.taken.clear();
    hotKey->SetHotKey(kDefaultHotKey);
    EXPECT_EQ(grabber.held, kCtrlShiftR);
}

TEST_F(GlobalHotKeyTest, ValueWithoutAKeyWithdrawsWithoutRegistering)
{
    hotKey->SetHotKey(kDefaultHotKey);
    hotKey->SetHotKey(kScCtrl | kScShift);
    EXPECT_EQ(hotKey->HotKey(), kScCtrl | kScShift);
    EXPECT_FALSE(grabber.held);
    EXPECT_EQ(grabber.registrations.size(), 1u);
}

TEST_F(GlobalHotKeyTest, ThrowingHandlerGoesToTheErrorHandlerAndTheNextPressStillWorks)
{
    int calls = 0;
    hotKey->OnKeyDown = [&](QObject*, std::uint16_t, Qt::KeyboardModifiers) {
        ++calls;
        if (calls == 1)
            throw ProgramError("Recovery failed");
        if (calls == 2)
            throw 42;
    };
    hotKey->SetHotKey(kDefaultHotKey);

    EXPECT_NO_THROW(grabber.Press(kCtrlShiftR));
    EXPECT_NO_THROW(grabber.Press(kCtrlShiftR));
    EXPECT_NO_THROW(grabber.Press(kCtrlShiftR));
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "Recovery failed");
    EXPECT_FALSE(errors[1].empty());
    EXPECT_EQ(grabber.held, kCtrlShiftR);
}

TEST(GlobalHotKey, ThrowingHandlerWithoutAnErrorHandlerStaysInside)
{
    platform::FakeHotKeyGrabber grabber;
    TGlobalHotKey hotKey(grabber, nullptr);
    int calls = 0;
    hotKey.OnKeyDown = [&](QObject*, std::uint16_t, Qt::KeyboardModifiers) {
        ++calls;
        throw ProgramError("Recovery failed");
    };
    hotKey.SetHotKey(kDefaultHotKey);
    EXPECT_NO_THROW(grabber.Press(kCtrlShiftR));
    EXPECT_NO_THROW(grabber.Press(kCtrlShiftR));
    EXPECT_EQ(calls, 2);
}

TEST_F(GlobalHotKeyTest, HandlerMayChangeTheHotKey)
{
    hotKey->OnKeyDown = [this](QObject*, std::uint16_t, Qt::KeyboardModifiers) {
        hotKey->SetHotKey(kAltF4Value);
    };
    hotKey->SetHotKey(kDefaultHotKey);
    grabber.Press(kCtrlShiftR);
    EXPECT_EQ(grabber.held, kAltF4);
}

TEST_F(GlobalHotKeyTest, DestructionWithdrawsAndStopsListening)
{
    hotKey->SetHotKey(kDefaultHotKey);
    hotKey.reset();
    EXPECT_FALSE(grabber.held);
    EXPECT_FALSE(grabber.OnPressed);
}

}  // namespace
