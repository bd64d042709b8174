// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>

#include "platform/Registry.h"
#include "platform/linux/AutostartEntry.h"
#include "platform/linux/SqliteHive.h"

namespace platform {

// The registry on Linux: the current user's hive and the machine's, each an SQLite file, and the
// user's Run value "MnemoraXp" realised as the XDG autostart entry. A machine key opens only for
// an administrator, as a key opened with full access under the machine root does on Windows.
class LinuxRegistry : public IRegistry {
public:
    struct Locations {
        QString userHive;
        QString machineHive;
        QString autostartEntry;
    };
    // The user hive under $XDG_CONFIG_HOME/mnemora-xp/, the machine hive in
    // $MNEMORA_MACHINE_HIVE_DIR or else in kMachineHiveDir, the entry under
    // $XDG_CONFIG_HOME/autostart/.
    static constexpr const char* kMachineHiveDir = "/var/lib/mnemora-xp";
    static Locations ForThisUser();
    // Whether this process runs as the administrator (root).
    static bool RunsAsAdministrator();

    LinuxRegistry(const Locations& locations, bool isAdministrator);

    std::optional<Key> OpenKey(RegistryRoot root, const QString& path, bool create) override;
    void CloseKey(Key key) override;
    std::optional<RegistryData> QueryValue(Key key, const QString& name) override;
    bool SetValue(Key key, const QString& name, const RegistryData& value) override;
    bool DeleteValue(Key key, const QString& name) override;
    void BeginChange(RegistryRoot root) override;
    bool EndChange(RegistryRoot root, bool keep) override;
    std::optional<std::uint64_t> ChangeStamp(RegistryRoot root) override;

    // The keys and values a new machine hive starts with: the memory-management key with the
    // values the system itself ships, and the Explorer key.
    static void SeedMachineHive(SqliteHive& hive);

private:
    struct OpenedKey {
        SqliteHive* hive;
        std::int64_t id;
        bool isRunKey;  // its "MnemoraXp" value is the autostart entry
    };
    const OpenedKey* Find(Key key) const;
    SqliteHive* HiveOf(RegistryRoot root);
    bool IsRunValue(const OpenedKey& key, const QString& name) const;

    SqliteHive user_;
    SqliteHive machine_;
    AutostartEntry autostart_;
    bool isAdministrator_;
    std::map<Key, OpenedKey> opened_;
    Key nextKey_ = 1;
    bool changing_[2] = {false, false};  // by root: a change was begun in that hive
};

}  // namespace platform
