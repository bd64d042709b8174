// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"
#include "settings/AppRegistry.h"

namespace {

using platform::RegistryRoot;

// The text of the error work raises; empty when it raises none.
template <typename Work>
std::string ErrorOf(Work work)
{
    try {
        work();
    } catch (const ERegistryException& error) {
        return error.what();
    }
    return {};
}

class AppRegistryTest : public ::testing::Test {
protected:
    platform::FakeRegistry store;
    TAppRegistry registry{store};
};

TEST_F(AppRegistryTest, BothPathSpellingsOpenTheSameKey)
{
    EXPECT_EQ(registry.RootKey(), RegistryRoot::CurrentUser) << "the root it is made with";
    ASSERT_TRUE(registry.OpenKey("\\Software\\Mnemora XP\\settings", true));
    registry.WriteInteger("Opacite", 200);
    registry.CloseKey();
    ASSERT_TRUE(registry.OpenKey("Software\\Mnemora XP\\settings", false));
    EXPECT_EQ(registry.ReadInteger("Opacite"), 200);
    EXPECT_EQ(store.Get(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Opacite"),
              platform::RegistryData(200));
}

TEST_F(AppRegistryTest, AKeyThatDoesNotOpenAnswersFalseNeverAnError)
{
    EXPECT_FALSE(registry.OpenKey("\\Software\\Nothing", false));
    EXPECT_FALSE(registry.HasOpenKey());
    EXPECT_FALSE(store.HasKey(RegistryRoot::CurrentUser, "Software\\Nothing"));

    store.isAdministrator = false;
    store.AddKey(RegistryRoot::LocalMachine, "Software\\Microsoft");
    registry.SetRootKey(RegistryRoot::LocalMachine);
    EXPECT_FALSE(registry.OpenKey("Software\\Microsoft", false));
    EXPECT_FALSE(registry.OpenKey("Software\\Microsoft", true));
}

TEST_F(AppRegistryTest, ReadErrorsNameTheValue)
{
    store.Put(RegistryRoot::CurrentUser, "k", "Path", QStringLiteral("\"/usr/bin/mnemora-xp\""));
    store.Put(RegistryRoot::CurrentUser, "k", "tray", 5);
    ASSERT_TRUE(registry.OpenKey("k", false));
    EXPECT_EQ(ErrorOf([&] { registry.ReadInteger("Path"); }), "Invalid data type for 'Path'");
    EXPECT_EQ(ErrorOf([&] { registry.ReadBool("Path"); }), "Invalid data type for 'Path'");
    EXPECT_EQ(ErrorOf([&] { registry.ReadInteger("Opacite"); }), "Failed to get data for 'Opacite'");
    EXPECT_TRUE(registry.ReadBool("tray")) << "any non-zero number is true";
    registry.CloseKey();
    EXPECT_EQ(ErrorOf([&] { registry.ReadInteger("tray"); }), "Failed to get data for 'tray'") << "no key open";
}

TEST_F(AppRegistryTest, AWriteThatFailsNamesTheValue)
{
    ASSERT_TRUE(registry.OpenKey("k", true));
    store.failWrites = true;
    EXPECT_EQ(ErrorOf([&] { registry.WriteInteger("Recover MB", 1); }), "Failed to set data for 'Recover MB'");
    EXPECT_EQ(ErrorOf([&] { registry.WriteString("Version", "4.0.0"); }), "Failed to set data for 'Version'");
    registry.CloseKey();
    store.failWrites = false;
    EXPECT_EQ(ErrorOf([&] { registry.WriteBool("balloon", true); }), "Failed to set data for 'balloon'") << "no key open";
}

TEST_F(AppRegistryTest, WritesKeepTheirTypesAndFlagsAreOneOrZero)
{
    ASSERT_TRUE(registry.OpenKey("k", true));
    registry.WriteBool("on", true);
    registry.WriteBool("off", false);
    registry.WriteString("Version", "4.0.0");
    registry.WriteInteger("negative", -3);
    EXPECT_EQ(store.Get(RegistryRoot::CurrentUser, "k", "on"), platform::RegistryData(1));
    EXPECT_EQ(store.Get(RegistryRoot::CurrentUser, "k", "off"), platform::RegistryData(0));
    EXPECT_EQ(store.Get(RegistryRoot::CurrentUser, "k", "Version"), platform::RegistryData(QStringLiteral("4.0.0")));
    EXPECT_EQ(registry.ReadInteger("negative"), -3);
}

TEST_F(AppRegistryTest, DeletingAMissingValueReportsNothing)
{
    ASSERT_TRUE(registry.OpenKey("k", true));
    EXPECT_EQ(ErrorOf([&] { registry.DeleteValue("MnemoraXp"); }), "");
    registry.WriteString("MnemoraXp", "x");
    registry.DeleteValue("MnemoraXp");
    EXPECT_FALSE(store.Get(RegistryRoot::CurrentUser, "k", "MnemoraXp").has_value());
}

TEST_F(AppRegistryTest, AtMostOneKeyIsOpenAndNoneOutlivesTheAccessor)
{
    {
        TAppRegistry scoped(store);
        ASSERT_TRUE(scoped.OpenKey("a", true));
        ASSERT_TRUE(scoped.OpenKey("b", true));
        EXPECT_EQ(store.openKeys, 1) << "opening a key closes the one before";
        EXPECT_EQ(scoped.CurrentPath(), "b");
    }
    EXPECT_EQ(store.openKeys, 0);
}

}  // namespace
