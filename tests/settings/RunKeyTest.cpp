// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/fake/FakeRegistry.h"
#include "settings/AppRegistry.h"
#include "settings/RunKey.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryData;

const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kExplorer = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");

class RunKeyTest : public ::testing::Test {
protected:
    platform::FakeRegistry store;
    TAppRegistry registry{store};
};

TEST_F(RunKeyTest, TheEntryIsTheQuotedPathAndFollowsTheExecutable)
{
    AddToRunKey(registry, "/usr/bin/mnemora-xp");
    EXPECT_EQ(store.Get(RegistryRoot::CurrentUser, kRun, "MnemoraXp"), RegistryData(QStringLiteral("\"/usr/bin/mnemora-xp\"")));
    AddToRunKey(registry, "/home/me/bin/mnemora-xp");
    EXPECT_EQ(store.Get(RegistryRoot::CurrentUser, kRun, "MnemoraXp"),
              RegistryData(QStringLiteral("\"/home/me/bin/mnemora-xp\"")));
    EXPECT_EQ(store.openKeys, 0);
}

TEST_F(RunKeyTest, RemovingMakesTheRunKeyWhenItIsMissingAndNeverFails)
{
    RemoveFromRunKey(registry);
    EXPECT_TRUE(store.HasKey(RegistryRoot::CurrentUser, kRun));
    AddToRunKey(registry, "/usr/bin/mnemora-xp");
    RemoveFromRunKey(registry);
    EXPECT_FALSE(store.Get(RegistryRoot::CurrentUser, kRun, "MnemoraXp").has_value());
    EXPECT_EQ(store.openKeys, 0);
}

TEST_F(RunKeyTest, AFailedEntryWriteReachesTheCaller)
{
    store.failWrites = true;
    try {
        AddToRunKey(registry, "/usr/bin/mnemora-xp");
        FAIL() << "nothing raised";
    } catch (const ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'MnemoraXp'");
    }
}

TEST_F(RunKeyTest, TheUnloadValueIsReadAsItIsAndZeroWhenItCannotBe)
{
    EXPECT_EQ(ReadAlwaysUnloadDll(registry), 0) << "no Explorer key";
    WriteAlwaysUnloadDll(registry, 1);
    EXPECT_FALSE(store.HasKey(RegistryRoot::LocalMachine, kExplorer)) << "the key is never created";

    store.AddKey(RegistryRoot::LocalMachine, kExplorer);
    EXPECT_EQ(ReadAlwaysUnloadDll(registry), 0) << "no value";
    WriteAlwaysUnloadDll(registry, 1);
    EXPECT_EQ(ReadAlwaysUnloadDll(registry), 1);
    store.Put(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL", 2);
    EXPECT_EQ(ReadAlwaysUnloadDll(registry), 2);
    store.Put(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL", QStringLiteral("1"));
    EXPECT_EQ(ReadAlwaysUnloadDll(registry), 0) << "not a number";
    EXPECT_EQ(store.openKeys, 0);

    store.Put(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL", 1);
    store.isAdministrator = false;
    EXPECT_EQ(ReadAlwaysUnloadDll(registry), 0) << "a plain user cannot open the key";
    WriteAlwaysUnloadDll(registry, 0);
    EXPECT_EQ(store.Get(RegistryRoot::LocalMachine, kExplorer, "AlwaysUnloadDLL"), RegistryData(1));
}

}  // namespace
