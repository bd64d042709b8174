// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include "platform/fake/FakeRegistry.h"
#include "settings/AppRegistry.h"
#include "settings/MemoryTweaks.h"
#include "settings/TweakWatch.h"
#include "settings/TweakControls.h"

namespace {

using platform::RegistryRoot;
using platform::RegistryData;
using Box = ITweakControls::Box;

const QString kKey = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management");
constexpr std::int32_t kCacheLevel2 = 512;

// The group's controls as the window has them: a box whose state changes runs its write handler;
// selecting an item from code runs nothing.
class Controls : public ITweakControls {
public:
    bool IsTicked(Box box) const override { return ticked.at(box); }
    void SetTicked(Box box, bool on) override
    {
        if (ticked[box] == on)
            return;
        ticked[box] = on;
        switch (box) {
        case Box::KernelPaging: tweaks->WriteKernelPaging(); break;
        case Box::SecondLevelCache: tweaks->WriteSecondLevelCache(kCacheLevel2); break;
        case Box::ClearSwap: tweaks->WriteClearSwap(); break;
        }
    }
    int CacheItem() const override { return cacheItem; }
    void SelectCacheItem(int index) override { cacheItem = index; }
    int LargeCacheItem() const override { return largeCacheItem; }
    void SelectLargeCacheItem(int index) override { largeCacheItem = index; }
    void DisableLargeCache() override { largeCacheEnabled = false; }

    TMemoryTweaks* tweaks = nullptr;
    std::map<Box, bool> ticked{{Box::KernelPaging, false}, {Box::SecondLevelCache, false}, {Box::ClearSwap, false}};
    int cacheItem = -1;
    int largeCacheItem = 0;
    bool largeCacheEnabled = true;
};

class MemoryTweaksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        controls.tweaks = &tweaks;
        // A fresh system's values.
        for (const char* name : {"ClearPageFileAtShutdown", "DisablePagingExecutive", "LargeSystemCache", "SecondLevelDataCache"})
            Put(name, 0);
        Put("IOPageLockLimit", 512);
    }
    void Put(const char* name, const RegistryData& value) { store.Put(RegistryRoot::LocalMachine, kKey, name, value); }
    std::optional<RegistryData> Get(const char* name) const { return store.Get(RegistryRoot::LocalMachine, kKey, name); }
    void Refresh(bool ntFamily = true) { tweaks.Refresh(kCacheLevel2, ntFamily); }

    platform::FakeRegistry store;
    TAppRegistry registry{store};
    Controls controls;
    TMemoryTweaks tweaks{registry, controls};
};

TEST_F(MemoryTweaksTest, TheCacheListShowsItsItemOrTheUnoptimisedDefault)
{
    const std::pair<std::int32_t, int> cases[] = {{4096, 0}, {8192, 1}, {16384, 2}, {32768, 3}, {65536, 4},
                                                  {512, 5},  {1000, 5}, {0, 5},     {-1, 5}};
    for (const auto& [value, item] : cases) {
        Put("IOPageLockLimit", value);
        Refresh();
        EXPECT_EQ(controls.cacheItem, item) << value;
    }
    EXPECT_TRUE(store.writes.empty()) << "selecting from code writes nothing";
}

TEST_F(MemoryTweaksTest, PickingACacheItemWritesItsNumberAndTypingWritesNothing)
{
    controls.cacheItem = 5;
    tweaks.WriteCacheSize();
    EXPECT_EQ(Get("IOPageLockLimit"), RegistryData(512)) << "the default is written, never deleted";
    controls.cacheItem = 3;
    tweaks.WriteCacheSize();
    EXPECT_EQ(Get("IOPageLockLimit"), RegistryData(32768));
    store.writes.clear();
    controls.cacheItem = -1;
    tweaks.WriteCacheSize();
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.openKeys, 0);
}

TEST_F(MemoryTweaksTest, TheLevelTwoBoxComparesWithTheProcessorsCache)
{
    Put("SecondLevelDataCache", 256);
    Refresh();
    EXPECT_FALSE(controls.ticked[Box::SecondLevelCache]);
    controls.ticked[Box::SecondLevelCache] = true;
    tweaks.WriteSecondLevelCache(kCacheLevel2);
    EXPECT_EQ(Get("SecondLevelDataCache"), RegistryData(512));
    controls.ticked[Box::SecondLevelCache] = false;
    tweaks.WriteSecondLevelCache(kCacheLevel2);
    EXPECT_EQ(Get("SecondLevelDataCache"), RegistryData(0));
}

TEST_F(MemoryTweaksTest, AnotherProgramsChangeThatClearsATickedBoxWritesZero)
{
    Put("SecondLevelDataCache", 512);
    Put("DisablePagingExecutive", 1);
    Refresh();
    ASSERT_TRUE(controls.ticked[Box::SecondLevelCache]);
    ASSERT_TRUE(controls.ticked[Box::KernelPaging]);
    ASSERT_EQ(store.writes.size(), 2u) << "ticking writes back what was read";
    EXPECT_EQ(Get("SecondLevelDataCache"), RegistryData(512));

    Put("SecondLevelDataCache", 256);
    Put("DisablePagingExecutive", 2);
    store.writes.clear();
    Refresh();
    EXPECT_FALSE(controls.ticked[Box::SecondLevelCache]);
    EXPECT_FALSE(controls.ticked[Box::KernelPaging]);
    EXPECT_EQ(Get("SecondLevelDataCache"), RegistryData(0));
    EXPECT_EQ(Get("DisablePagingExecutive"), RegistryData(0));
    EXPECT_EQ(store.writes.size(), 2u);
    EXPECT_EQ(store.openKeys, 0);
}

TEST_F(MemoryTweaksTest, ARefreshThatFindsNothingChangedWritesNothing)
{
    Put("SecondLevelDataCache", 512);
    Put("ClearPageFileAtShutdown", 1);
    Refresh();
    store.writes.clear();
    for (int tick = 0; tick < 5; ++tick)
        Refresh();
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(MemoryTweaksTest, TheKeyIsOpenedAfreshForEveryRead)
{
    store.openings = 0;
    Refresh();
    EXPECT_EQ(store.openings, 5);
    store.openings = 0;
    Refresh(false);
    EXPECT_EQ(store.openings, 4) << "outside the NT family the large-cache value is not read";
}

TEST_F(MemoryTweaksTest, TheLargeCacheGroupFollowsTheValueOnTheNtFamilyOnly)
{
    Put("LargeSystemCache", 1);
    Refresh();
    EXPECT_EQ(controls.largeCacheItem, 1);
    Put("LargeSystemCache", 0);
    Refresh();
    EXPECT_EQ(controls.largeCacheItem, 0);
    Put("LargeSystemCache", 2);
    controls.largeCacheItem = 1;
    Refresh();
    EXPECT_EQ(controls.largeCacheItem, 0);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_TRUE(controls.largeCacheEnabled);

    Put("LargeSystemCache", 1);
    Refresh(false);
    EXPECT_FALSE(controls.largeCacheEnabled);
    EXPECT_EQ(controls.largeCacheItem, 0) << "not read";

    controls.largeCacheItem = 1;
    tweaks.WriteLargeSystemCache();
    EXPECT_EQ(Get("LargeSystemCache"), RegistryData(1));
}

TEST_F(MemoryTweaksTest, AValueThatCannotBeReadLeavesOnlyItsControlAlone)
{
    store.Remove(RegistryRoot::LocalMachine, kKey, "ClearPageFileAtShutdown");
    Put("DisablePagingExecutive", 1);
    Put("IOPageLockLimit", 8192);
    Put("LargeSystemCache", 1);
    controls.ticked[Box::ClearSwap] = true;
    Refresh();
    EXPECT_TRUE(controls.ticked[Box::ClearSwap]);
    EXPECT_TRUE(controls.ticked[Box::KernelPaging]);
    EXPECT_EQ(controls.cacheItem, 1);
    EXPECT_EQ(controls.largeCacheItem, 1);

    Put("DisablePagingExecutive", QStringLiteral("0"));
    Refresh();
    EXPECT_TRUE(controls.ticked[Box::KernelPaging]) << "a text is no number";
    EXPECT_EQ(store.openKeys, 0);
}

TEST_F(MemoryTweaksTest, APlainUserOpensNothingAndWritesNothing)
{
    store.isAdministrator = false;
    Put("ClearPageFileAtShutdown", 1);
    Put("IOPageLockLimit", 4096);
    Refresh(false);
    EXPECT_FALSE(controls.ticked[Box::ClearSwap]);
    EXPECT_EQ(controls.cacheItem, -1);
    EXPECT_TRUE(controls.largeCacheEnabled) << "the refresh stopped before the group";

    controls.cacheItem = 0;
    controls.ticked = {{Box::KernelPaging, true}, {Box::SecondLevelCache, true}, {Box::ClearSwap, true}};
    controls.largeCacheItem = 1;
    tweaks.WriteCacheSize();
    tweaks.WriteSecondLevelCache(kCacheLevel2);
    tweaks.WriteLargeSystemCache();
    tweaks.WriteKernelPaging();
    tweaks.WriteClearSwap();
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.openings, 0);
}

TEST_F(MemoryTweaksTest, AFailedWriteIsLetGo)
{
    store.failWrites = true;
    controls.ticked[Box::ClearSwap] = true;
    EXPECT_NO_THROW(tweaks.WriteClearSwap());
    EXPECT_EQ(store.openKeys, 0);
}

TEST(MemoryTweaks, TheKernelBoxIsOfferedOnTheNtFamilyFrom511Megabytes)
{
    EXPECT_FALSE(TMemoryTweaks::KernelPagingOffered(true, 510));
    EXPECT_TRUE(TMemoryTweaks::KernelPagingOffered(true, 511));
    EXPECT_FALSE(TMemoryTweaks::KernelPagingOffered(false, 4096));
}

}  // namespace

namespace {

// The refresh runs every second but reads the key only when there is something new: another
// program's change (the store's stamp moves), a write of this program, or controls that no longer
// show what the last refresh left. A store without stamps is read every time.
TEST_F(MemoryTweaksTest, TheWatchReadsTheKeyOnlyWhenSomethingMayHaveChanged)
{
    TTweakWatch watch;
    EXPECT_TRUE(watch.NeedsRefresh(registry, controls)) << "no refresh yet";
    Refresh();
    watch.Refreshed(registry, controls);
    EXPECT_TRUE(watch.NeedsRefresh(registry, controls)) << "a store that cannot tell";

    store.stamps = true;
    watch.Refreshed(registry, controls);
    EXPECT_FALSE(watch.NeedsRefresh(registry, controls));
    Put("IOPageLockLimit", 4096);  // another program
    EXPECT_TRUE(watch.NeedsRefresh(registry, controls));
    Refresh();
    watch.Refreshed(registry, controls);
    EXPECT_EQ(controls.cacheItem, 0);
    EXPECT_FALSE(watch.NeedsRefresh(registry, controls));

    controls.cacheItem = -1;  // the user typed into the list instead of picking
    EXPECT_TRUE(watch.NeedsRefresh(registry, controls));
    Refresh();
    watch.Refreshed(registry, controls);
    EXPECT_EQ(controls.cacheItem, 0) << "the refresh shows the key's item again";

    controls.SetTicked(ITweakControls::Box::ClearSwap, true);  // the user's click writes 1
    EXPECT_TRUE(watch.NeedsRefresh(registry, controls));
}

}  // namespace
