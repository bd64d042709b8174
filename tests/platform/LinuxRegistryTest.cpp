// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/RegistryLocations.h"
#include "platform/linux/LinuxRegistry.h"
#include "support/TestEnvironment.h"

namespace {

using platform::LinuxRegistry;
using platform::RegistryRoot;
using platform::RegistryData;
namespace where = platform::registry_locations;

// What work wrote on standard error.
template <typename Work>
QString StandardErrorOf(Work work)
{
    QTemporaryDir dir(TestHome() + "/stderr-XXXXXX");
    const QByteArray path = QFile::encodeName(dir.filePath("stderr"));
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int file = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    ::dup2(file, 2);
    ::close(file);
    work();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    QFile captured(QString::fromLocal8Bit(path));
    captured.open(QIODevice::ReadOnly);
    return QString::fromLocal8Bit(captured.readAll());
}

class LinuxRegistryTest : public ::testing::Test {
protected:
    LinuxRegistry::Locations Where() const
    {
        return {home.filePath("config/mnemora-xp/user-hive.sqlite3"), home.filePath("machine/machine-hive.sqlite3"),
                home.filePath("config/autostart/mnemora-xp.desktop")};
    }
    std::unique_ptr<LinuxRegistry> Registry(bool isAdministrator = true) const
    {
        return std::make_unique<LinuxRegistry>(Where(), isAdministrator);
    }
    // One value written and read back through a fresh registry each time, as separate runs do.
    std::optional<RegistryData> ReadBack(RegistryRoot root, const QString& keyPath, const QString& name) const
    {
        auto registry = Registry();
        const auto key = registry->OpenKey(root, keyPath, false);
        return key ? registry->QueryValue(*key, name) : std::nullopt;
    }
    void Store(RegistryRoot root, const QString& keyPath, const QString& name, const RegistryData& value) const
    {
        auto registry = Registry();
        const auto key = registry->OpenKey(root, keyPath, true);
        ASSERT_TRUE(key);
        ASSERT_TRUE(registry->SetValue(*key, name, value));
    }
    QStringList FilesIn(const QString& dir) const
    {
        return QDir(home.filePath(dir)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    }

    QTemporaryDir home{TestHome() + "/registry-XXXXXX"};
};

TEST_F(LinuxRegistryTest, ValuesSurviveTheProgramAndKeepTheirTypes)
{
    Store(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Opacite", 200);
    Store(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Path", QStringLiteral("\"/opt/é x/mnemora-xp\""));
    Store(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "tray", -3);
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Opacite"), RegistryData(200));
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Path"),
              RegistryData(QStringLiteral("\"/opt/é x/mnemora-xp\"")));
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "tray"), RegistryData(-3));
    Store(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Opacite", QStringLiteral("x"));
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Opacite"), RegistryData(QStringLiteral("x")))
        << "a value changes type when written with another";
    EXPECT_TRUE(QFileInfo::exists(Where().userHive));
}

TEST_F(LinuxRegistryTest, KeyAndValueNamesIgnoreCaseAndStraySeparators)
{
    Store(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Recover MB", 300);
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "SOFTWARE\\mnemora xp\\Settings", "recover mb"), RegistryData(300));
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "\\Software\\Mnemora XP\\settings\\", "RECOVER MB"), RegistryData(300));
    Store(RegistryRoot::CurrentUser, "software\\MNEMORA XP\\settings", "recover mb", 400);
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", "Recover MB"), RegistryData(400))
        << "one value, whatever the case it is written in";
    Store(RegistryRoot::CurrentUser, "É", "Ü", 1);
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "é", "ü"), RegistryData(1)) << "beyond ASCII too";
}

TEST_F(LinuxRegistryTest, OpeningWithoutCreatingFindsOnlyWhatExistsAndCreatingMakesTheParents)
{
    auto registry = Registry();
    EXPECT_FALSE(registry->OpenKey(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", false));
    const auto key = registry->OpenKey(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings\\Recover Property", true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(registry->OpenKey(RegistryRoot::CurrentUser, "Software\\Mnemora XP\\settings", false));
    EXPECT_FALSE(registry->QueryValue(*key, "Pcpu").has_value());
    EXPECT_TRUE(registry->DeleteValue(*key, "Pcpu")) << "a missing value is no error";
    ASSERT_TRUE(registry->SetValue(*key, "Pcpu", 15));
    EXPECT_TRUE(registry->DeleteValue(*key, "PCPU"));
    EXPECT_FALSE(registry->QueryValue(*key, "Pcpu").has_value());
    registry->CloseKey(*key);
    EXPECT_FALSE(registry->QueryValue(*key, "Pcpu").has_value()) << "a closed key reads nothing";
    EXPECT_FALSE(registry->SetValue(*key, "Pcpu", 1));
}

TEST_F(LinuxRegistryTest, ANewMachineHiveHoldsTheKeysEveryWindowsMachineHas)
{
    const QString memory = QLatin1String(where::kMemoryManagementKey);
    for (const char* name : {"ClearPageFileAtShutdown", "DisablePagingExecutive", "LargeSystemCache", "SecondLevelDataCache"})
        EXPECT_EQ(ReadBack(RegistryRoot::LocalMachine, memory, name), RegistryData(0)) << name;
    EXPECT_EQ(ReadBack(RegistryRoot::LocalMachine, memory, "IOPageLockLimit"), RegistryData(512));
    auto registry = Registry();
    const auto explorer = registry->OpenKey(RegistryRoot::LocalMachine, QLatin1String(where::kExplorerKey), false);
    ASSERT_TRUE(explorer);
    EXPECT_FALSE(registry->QueryValue(*explorer, "AlwaysUnloadDLL").has_value());
    ASSERT_TRUE(registry->SetValue(*explorer, "AlwaysUnloadDLL", 1));
    EXPECT_EQ(ReadBack(RegistryRoot::LocalMachine, QLatin1String(where::kExplorerKey), "AlwaysUnloadDLL"), RegistryData(1))
        << "seeded once, not again at the next start";
    EXPECT_FALSE(ReadBack(RegistryRoot::CurrentUser, memory, "IOPageLockLimit").has_value()) << "the user's hive is apart";
}

TEST_F(LinuxRegistryTest, APlainUserOpensNoMachineKeyAndNeverTouchesTheMachineHive)
{
    auto registry = Registry(false);
    EXPECT_FALSE(registry->OpenKey(RegistryRoot::LocalMachine, QLatin1String(where::kMemoryManagementKey), false));
    EXPECT_FALSE(registry->OpenKey(RegistryRoot::LocalMachine, "Software\\Anything", true));
    EXPECT_TRUE(registry->OpenKey(RegistryRoot::CurrentUser, "Software\\Anything", true));
    EXPECT_FALSE(QFileInfo::exists(home.filePath("machine"))) << "no folder, no file";
}

TEST_F(LinuxRegistryTest, ReadingWritesNothingToDisk)
{
    Store(RegistryRoot::LocalMachine, QLatin1String(where::kMemoryManagementKey), "ClearPageFileAtShutdown", 1);
    auto registry = Registry();
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(Where().machineHive).constData(), &before), 0);
    for (int tick = 0; tick < 50; ++tick) {
        const auto key = registry->OpenKey(RegistryRoot::LocalMachine, QLatin1String(where::kMemoryManagementKey), false);
        ASSERT_TRUE(key);
        EXPECT_EQ(registry->QueryValue(*key, "ClearPageFileAtShutdown"), RegistryData(1));
        registry->CloseKey(*key);
    }
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(Where().machineHive).constData(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(FilesIn("machine"), QStringList{"machine-hive.sqlite3"}) << "no journal left";
}

TEST_F(LinuxRegistryTest, AChangeByAnotherProcessIsSeenAtTheNextRead)
{
    auto registry = Registry();
    const auto key = registry->OpenKey(RegistryRoot::LocalMachine, QLatin1String(where::kMemoryManagementKey), false);
    ASSERT_TRUE(key);
    EXPECT_EQ(registry->QueryValue(*key, "LargeSystemCache"), RegistryData(0));
    Store(RegistryRoot::LocalMachine, QLatin1String(where::kMemoryManagementKey), "LargeSystemCache", 1);
    EXPECT_EQ(registry->QueryValue(*key, "LargeSystemCache"), RegistryData(1));
}

// Whatever lies where a hive should be, the program goes on as with no hive and the old file is
// kept beside it, reported in one line.
TEST_F(LinuxRegistryTest, AnUnreadableHiveIsMovedAsideAndKept)
{
    const QString hive = Where().userHive;
    const QByteArray randomBytes = QByteArray::fromHex("deadbeef").repeated(1024);
    const auto valid = [&] {
        QFile::remove(hive);
        Store(RegistryRoot::CurrentUser, "k", "v", 1);
        auto registry = Registry();
        const auto filler = registry->OpenKey(RegistryRoot::CurrentUser, "filler", true);
        for (int n = 0; n < 10; ++n)
            registry->SetValue(*filler, QString::number(n), QString(2000, 'f'));
        registry.reset();
        QFile file(hive);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    ASSERT_GE(valid.size(), 4096);
    struct Case {
        const char* what;
        std::function<void()> make;
        QByteArray keptContent;  // empty: a directory
    } cases[] = {
        {"random bytes", [&] { QFile f(hive); f.open(QIODevice::WriteOnly); f.write(randomBytes); }, randomBytes},
        {"a truncated hive", [&] { QFile f(hive); f.open(QIODevice::WriteOnly); f.write(valid.left(valid.size() / 2 + 100)); },
         valid.left(valid.size() / 2 + 100)},
        {"a header cut short", [&] { QFile f(hive); f.open(QIODevice::WriteOnly); f.write(valid.left(50)); }, valid.left(50)},
        {"a damaged page", [&] { QFile f(hive); f.open(QIODevice::WriteOnly); f.write(valid.left(valid.size() - 4096) + QByteArray(4096, '\xff')); },
         valid.left(valid.size() - 4096) + QByteArray(4096, '\xff')},
        {"a directory", [&] { QDir().mkpath(hive + "/inside"); }, {}},
        {"another program's database", [&] {
             QFile f(hive);
             f.open(QIODevice::WriteOnly);
             f.write(valid);
             f.close();
             sqlite3* db = nullptr;
             sqlite3_open(QFile::encodeName(hive).constData(), &db);
             sqlite3_exec(db, "PRAGMA application_id = 7", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(QFileInfo(hive).absolutePath()).removeRecursively();
        QDir().mkpath(QFileInfo(hive).absolutePath());
        ::chmod(QFile::encodeName(QFileInfo(hive).absolutePath()).constData(), 0700);
        c.make();
        const QString said = StandardErrorOf([&] {
            EXPECT_FALSE(ReadBack(RegistryRoot::CurrentUser, "k", "v").has_value()) << "as with no hive";
            Store(RegistryRoot::CurrentUser, "k", "v", 2);
        });
        EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "k", "v"), RegistryData(2)) << "a new hive works";
        const QStringList aside = QDir(QFileInfo(hive).absolutePath()).entryList({"user-hive.sqlite3.unreadable-*"});
        ASSERT_EQ(aside.size(), 1) << said.toStdString();
        const QString asidePath = QFileInfo(hive).absolutePath() + "/" + aside[0];
        EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
        EXPECT_TRUE(said.contains(asidePath)) << said.toStdString();
        if (!c.keptContent.isEmpty()) {
            QFile kept(asidePath);
            kept.open(QIODevice::ReadOnly);
            EXPECT_EQ(kept.readAll(), c.keptContent);
        } else {
            EXPECT_TRUE(QFileInfo::exists(asidePath));
        }
    }
}

// A journal left by the old hive would be played back into the new one.
TEST_F(LinuxRegistryTest, AJournalBesideWhatIsMovedAsideGoesWithIt)
{
    const QString hive = Where().userHive;
    QDir().mkpath(hive);
    QFile journal(hive + "-journal");
    journal.open(QIODevice::WriteOnly);
    journal.write(QByteArray(8192, 'x'));
    journal.close();
    StandardErrorOf([&] { Store(RegistryRoot::CurrentUser, "k", "v", 1); });
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "k", "v"), RegistryData(1));
    const QDir dir(QFileInfo(hive).absolutePath());
    EXPECT_EQ(dir.entryList({"*.unreadable-*-journal"}).size(), 1) << dir.entryList().join(" ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(hive + "-journal"));
}

TEST_F(LinuxRegistryTest, AReadOnlyHiveIsReadAndKept)
{
    Store(RegistryRoot::CurrentUser, "k", "v", 1);
    ASSERT_TRUE(QFile::setPermissions(Where().userHive, QFile::ReadOwner));
    const QString said = StandardErrorOf([&] { EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, "k", "v"), RegistryData(1)); });
    EXPECT_TRUE(said.isEmpty()) << said.toStdString();
    EXPECT_EQ(FilesIn("config/mnemora-xp"), QStringList{"user-hive.sqlite3"});
}

TEST_F(LinuxRegistryTest, AFolderOthersCanWriteToIsNotTrusted)
{
    // Everyone, the folder's group alone (a settings folder in mode 0770), or both.
    for (const mode_t mode : {0777, 0770, 0730, 0702}) {
        SCOPED_TRACE(mode);
        QDir().mkpath(home.filePath("config/mnemora-xp"));
        ::chmod(QFile::encodeName(home.filePath("config/mnemora-xp")).constData(), mode);
        auto registry = Registry();
        const QString said = StandardErrorOf([&] {
            EXPECT_FALSE(registry->OpenKey(RegistryRoot::CurrentUser, "k", true));
            EXPECT_FALSE(registry->OpenKey(RegistryRoot::CurrentUser, "k", true));
        });
        EXPECT_EQ(said.count('\n'), 1) << "told once: " << said.toStdString();
        EXPECT_TRUE(FilesIn("config/mnemora-xp").isEmpty());
    }
    ::chmod(QFile::encodeName(home.filePath("config/mnemora-xp")).constData(), 0750);
    EXPECT_TRUE(Registry()->OpenKey(RegistryRoot::CurrentUser, "k", true)) << "a folder its group may only read is kept";
}

TEST_F(LinuxRegistryTest, TheHivesLiveWhereTheEnvironmentSays)
{
    const LinuxRegistry::Locations where = LinuxRegistry::ForThisUser();
    EXPECT_EQ(where.userHive, qEnvironmentVariable("XDG_CONFIG_HOME") + "/mnemora-xp/user-hive.sqlite3");
    EXPECT_EQ(where.machineHive, qEnvironmentVariable("MNEMORA_MACHINE_HIVE_DIR") + "/machine-hive.sqlite3");
    EXPECT_EQ(where.autostartEntry, qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart/mnemora-xp.desktop");
    const QByteArray saved = qgetenv("MNEMORA_MACHINE_HIVE_DIR");
    qunsetenv("MNEMORA_MACHINE_HIVE_DIR");
    EXPECT_EQ(LinuxRegistry::ForThisUser().machineHive, "/var/lib/mnemora-xp/machine-hive.sqlite3");
    qputenv("MNEMORA_MACHINE_HIVE_DIR", saved);
}

TEST_F(LinuxRegistryTest, TheRunValueIsTheAutostartEntry)
{
    const QString run = QLatin1String(where::kRunKey);
    Store(RegistryRoot::CurrentUser, run, "mnemoraxp", QStringLiteral("\"/usr/bin/mnemora-xp\""));
    EXPECT_TRUE(QFileInfo::exists(Where().autostartEntry));
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, run, "MnemoraXp"), RegistryData(QStringLiteral("\"/usr/bin/mnemora-xp\"")));
    Store(RegistryRoot::CurrentUser, run, "Other", 1);
    EXPECT_EQ(ReadBack(RegistryRoot::CurrentUser, run, "Other"), RegistryData(1)) << "other values stay in the hive";

    auto registry = Registry();
    const auto key = registry->OpenKey(RegistryRoot::CurrentUser, run, false);
    ASSERT_TRUE(key);
    EXPECT_FALSE(registry->SetValue(*key, "MnemoraXp", 1)) << "a session starts a command, not a number";
    EXPECT_TRUE(registry->DeleteValue(*key, "MnemoraXp"));
    EXPECT_FALSE(QFileInfo::exists(Where().autostartEntry));
    EXPECT_FALSE(registry->QueryValue(*key, "MnemoraXp").has_value());
    EXPECT_TRUE(registry->DeleteValue(*key, "MnemoraXp"));

    const auto elsewhere = registry->OpenKey(RegistryRoot::CurrentUser, "Software\\Other", true);
    ASSERT_TRUE(registry->SetValue(*elsewhere, "MnemoraXp", QStringLiteral("x")));
    EXPECT_FALSE(QFileInfo::exists(Where().autostartEntry)) << "only the Run key's value is the entry";
}

// The stamp the memory-tweak refresh asks every second: it stays while nothing is written and
// moves when another program (here another registry on the same files) or this one writes.
TEST_F(LinuxRegistryTest, TheChangeStampMovesWithEveryWriteWhoeverMakesIt)
{
    const QString memory = QLatin1String(where::kMemoryManagementKey);
    auto registry = Registry();
    const auto key = registry->OpenKey(RegistryRoot::LocalMachine, memory, false);
    ASSERT_TRUE(key);
    const auto first = registry->ChangeStamp(RegistryRoot::LocalMachine);
    ASSERT_TRUE(first);
    registry->QueryValue(*key, "ClearPageFileAtShutdown");
    EXPECT_EQ(registry->ChangeStamp(RegistryRoot::LocalMachine), first) << "reading changes nothing";
    Store(RegistryRoot::LocalMachine, memory, "ClearPageFileAtShutdown", 1);
    const auto second = registry->ChangeStamp(RegistryRoot::LocalMachine);
    EXPECT_NE(second, first) << "another program wrote";
    registry->SetValue(*key, "ClearPageFileAtShutdown", 0);
    EXPECT_NE(registry->ChangeStamp(RegistryRoot::LocalMachine), second) << "this one wrote";
    registry->CloseKey(*key);
    // A plain user's machine hive never opens: nothing there ever changes for the program.
    EXPECT_EQ(Registry(false)->ChangeStamp(RegistryRoot::LocalMachine), std::optional<std::uint64_t>(0));
}

}  // namespace
