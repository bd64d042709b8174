// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/LinuxRegistry.h"
#include "support/KilledChild.h"
#include "support/TestEnvironment.h"

namespace {

using platform::LinuxRegistry;
using platform::RegistryRoot;
using platform::RegistryData;

const QString kKey = QStringLiteral("Software\\Mnemora XP\\settings");

// Long enough to spill over several database pages, so that a torn write would show.
QString Text(int round)
{
    return QString(6000, QChar(u'a' + round % 26)) + QString::number(round);
}

// The child: saves round after round until it is killed; never returns.
[[noreturn]] void SaveForever(const LinuxRegistry::Locations& where, int readyPipe)
{
    LinuxRegistry registry(where, true);
    (void)!::write(readyPipe, "x", 1);
    // Numbering goes on from the last child's, so that every save is one round after the stored one.
    int first = 1;
    if (const auto key = registry.OpenKey(RegistryRoot::CurrentUser, kKey, false)) {
        if (const auto counter = registry.QueryValue(*key, "Counter"))
            first = std::get<std::int32_t>(*counter) + 1;
        registry.CloseKey(*key);
    }
    for (int round = first; round < first + 1'000'000; ++round) {
        if (const auto key = registry.OpenKey(RegistryRoot::CurrentUser, kKey, true)) {
            registry.SetValue(*key, "Counter", round);
            registry.SetValue(*key, "Text", Text(round));
            registry.CloseKey(*key);
        }
    }
    ::_exit(0);
}

TEST(HiveCrash, AKillAtAnyMomentLeavesTheOldValueOrTheNewOne)
{
    QTemporaryDir home(TestHome() + "/crash-XXXXXX");
    const LinuxRegistry::Locations where{home.filePath("hive/user-hive.sqlite3"), home.filePath("machine/machine-hive.sqlite3"),
                                         home.filePath("autostart/mnemora-xp.desktop")};
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> moment(0, 8000);  // microseconds after the child is ready
    int roundsWithValues = 0;

    for (int kill = 0; kill < 200; ++kill) {
        // Now and then the kill falls while a new hive is being made.
        if (kill % 25 == 0)
            QDir(home.filePath("hive")).removeRecursively();
        ASSERT_TRUE(KillWhileWorking([&](int ready) { SaveForever(where, ready); }, static_cast<useconds_t>(moment(random))));

        LinuxRegistry registry(where, true);
        const auto key = registry.OpenKey(RegistryRoot::CurrentUser, kKey, true);
        ASSERT_TRUE(key) << "the hive opens after kill " << kill;
        const std::optional<RegistryData> counter = registry.QueryValue(*key, "Counter");
        const std::optional<RegistryData> text = registry.QueryValue(*key, "Text");
        if (!counter) {
            EXPECT_FALSE(text.has_value()) << "kill " << kill;
            continue;
        }
        ++roundsWithValues;
        const int round = std::get<std::int32_t>(*counter);
        if (!text)
            continue;  // killed between the first counter and the first text
        // Each value holds one of the contents written to it, whole: the text of a round no later
        // than the counter's (a child killed between the two leaves the text a round or more
        // behind).
        const QString stored = std::get<QString>(*text);
        const int textRound = stored.mid(6000).toInt();
        EXPECT_EQ(stored, Text(textRound)) << "kill " << kill << ": a torn text";
        EXPECT_LE(textRound, round) << "kill " << kill;
        ASSERT_TRUE(QDir(home.filePath("hive")).entryList({"*.unreadable-*"}).isEmpty()) << "kill " << kill;
    }
    EXPECT_GT(roundsWithValues, 0) << "no kill fell after a save";
}

}  // namespace
