// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxRegistry.h"

#include <QStandardPaths>
#include <unistd.h>

#include "platform/RegistryLocations.h"

namespace platform {
namespace {

namespace where = registry_locations;

constexpr int kUserDirectoryMode = 0700;
constexpr int kMachineDirectoryMode = 0755;

}  // namespace

LinuxRegistry::Locations LinuxRegistry::ForThisUser()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString machineDir = qEnvironmentVariableIsEmpty("MNEMORA_MACHINE_HIVE_DIR")
                                   ? QString::fromLatin1(kMachineHiveDir)
                                   : qEnvironmentVariable("MNEMORA_MACHINE_HIVE_DIR");
    return {config + QStringLiteral("/mnemora-xp/user-hive.sqlite3"), machineDir + QStringLiteral("/machine-hive.sqlite3"),
            config + QStringLiteral("/autostart/mnemora-xp.desktop")};
}

bool LinuxRegistry::RunsAsAdministrator()
{
    return ::geteuid() == 0;
}

LinuxRegistry::LinuxRegistry(const Locations& locations, bool isAdministrator)
    : user_(locations.userHive, kUserDirectoryMode),
      machine_(locations.machineHive, kMachineDirectoryMode, &LinuxRegistry::SeedMachineHive),
      autostart_(locations.autostartEntry),
      isAdministrator_(isAdministrator)
{
}

void LinuxRegistry::SeedMachineHive(SqliteHive& hive)
{
    const QStringList memory = KeyNames(QLatin1String(where::kMemoryManagementKey));
    if (const std::optional<std::int64_t> key = hive.CreateKey(memory)) {
        // IOPageLockLimit is absent on a fresh system, which then locks 512 KB: the value is
        // written out so that the list shows "( Défaut non optimisé )" rather than a guess.
        for (const char* name : {"ClearPageFileAtShutdown", "DisablePagingExecutive", "LargeSystemCache",
                                 "SecondLevelDataCache"})
            hive.Set(*key, QLatin1String(name), 0);
        hive.Set(*key, QStringLiteral("IOPageLockLimit"), 512);
    }
    hive.CreateKey(KeyNames(QLatin1String(where::kExplorerKey)));
}

SqliteHive* LinuxRegistry::HiveOf(RegistryRoot root)
{
    if (root == RegistryRoot::LocalMachine && !isAdministrator_)
        return nullptr;
    return root == RegistryRoot::CurrentUser ? &user_ : &machine_;
}

std::optional<IRegistry::Key> LinuxRegistry::OpenKey(RegistryRoot root, const QString& path, bool create)
{
    SqliteHive* found = HiveOf(root);
    if (!found)
        return std::nullopt;
    SqliteHive& hive = *found;
    const QStringList names = KeyNames(path);
    const std::optional<std::int64_t> id = create ? hive.CreateKey(names) : hive.FindKey(names);
    if (!id)
        return std::nullopt;
    const bool isRunKey = root == RegistryRoot::CurrentUser &&
                          Folded(names.join(QLatin1Char('\\'))) == Folded(QLatin1String(where::kRunKey));
    opened_.emplace(nextKey_, OpenedKey{&hive, *id, isRunKey});
    return nextKey_++;
}

void LinuxRegistry::CloseKey(Key key)
{
    opened_.erase(key);
}

const LinuxRegistry::OpenedKey* LinuxRegistry::Find(Key key) const
{
    const auto found = opened_.find(key);
    return found == opened_.end() ? nullptr : &found->second;
}

bool LinuxRegistry::IsRunValue(const OpenedKey& key, const QString& name) const
{
    return key.isRunKey && Folded(name) == Folded(QLatin1String(where::kRunValue));
}

std::optional<RegistryData> LinuxRegistry::QueryValue(Key key, const QString& name)
{
    const OpenedKey* opened = Find(key);
    if (!opened)
        return std::nullopt;
    if (IsRunValue(*opened, name)) {
        if (const std::optional<QString> command = autostart_.Read())
            return *command;
        return std::nullopt;
    }
    return opened->hive->Query(opened->id, name);
}

bool LinuxRegistry::SetValue(Key key, const QString& name, const RegistryData& value)
{
    const OpenedKey* opened = Find(key);
    if (!opened)
        return false;
    if (IsRunValue(*opened, name)) {
        // The session starts programs by their desktop entry, not by a number.
        const auto* command = std::get_if<QString>(&value);
        return command && autostart_.Write(*command);
    }
    return opened->hive->Set(opened->id, name, value);
}

bool LinuxRegistry::DeleteValue(Key key, const QString& name)
{
    const OpenedKey* opened = Find(key);
    if (!opened)
        return false;
    if (IsRunValue(*opened, name))
        return autostart_.Remove();
    return opened->hive->Delete(opened->id, name);
}

std::optional<std::uint64_t> LinuxRegistry::ChangeStamp(RegistryRoot root)
{
    // A machine hive a plain user cannot open never changes for this program.
    const SqliteHive* hive = HiveOf(root);
    return hive ? hive->ChangeStamp() : 0;
}

void LinuxRegistry::BeginChange(RegistryRoot root)
{
    if (SqliteHive* hive = HiveOf(root))
        changing_[static_cast<int>(root)] = hive->Begin();
}

bool LinuxRegistry::EndChange(RegistryRoot root, bool keep)
{
    SqliteHive* hive = HiveOf(root);
    bool& changing = changing_[static_cast<int>(root)];
    if (!hive || !changing)
        return keep;
    changing = false;
    if (keep)
        return hive->Commit();
    hive->Rollback();
    return false;
}

}  // namespace platform
