// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform {

// A registry in memory, with the administrator decision and write failures in the test's hands.
// Every write is recorded, so a test can tell what was written, in which order, and when nothing
// was.
class FakeRegistry : public IRegistry {
public:
    struct Write {
        RegistryRoot root;
        QString keyPath;  // folded
        QString name;     // as written
        std::optional<RegistryData> value;  // nothing: a deletion
    };

    std::optional<Key> OpenKey(RegistryRoot root, const QString& path, bool create) override;
    void CloseKey(Key key) override;
    std::optional<RegistryData> QueryValue(Key key, const QString& name) override;
    bool SetValue(Key key, const QString& name, const RegistryData& value) override;
    bool DeleteValue(Key key, const QString& name) override;
    // A change dropped puts back the keys and values the whole registry had at its beginning.
    void BeginChange(RegistryRoot root) override;
    bool EndChange(RegistryRoot root, bool keep) override;
    // Moves on at every write and every Put; nothing unless the test turns it on.
    std::optional<std::uint64_t> ChangeStamp(RegistryRoot) override { return stamps ? std::optional(changes_) : std::nullopt; }

    // Direct access for the test, bypassing the administrator rule and the records.
    void Put(RegistryRoot root, const QString& keyPath, const QString& name, const RegistryData& value);
    std::optional<RegistryData> Get(RegistryRoot root, const QString& keyPath, const QString& name) const;
    void AddKey(RegistryRoot root, const QString& keyPath);
    bool HasKey(RegistryRoot root, const QString& keyPath) const;
    void Remove(RegistryRoot root, const QString& keyPath, const QString& name);
    std::size_t ValueCount(RegistryRoot root, const QString& keyPath) const;

    bool isAdministrator = true;
    bool failWrites = false;
    std::vector<Write> writes;
    std::function<void(const Write&)> onWrite;  // called as each write is made
    int openKeys = 0;   // opened and not yet closed
    int openings = 0;   // every successful opening
    bool stamps = false;
    bool failKeeping = false;  // a change to be kept is dropped instead
    std::vector<std::pair<RegistryRoot, bool>> changes;  // each change ended: its root, kept or not

private:
    using Path = std::pair<RegistryRoot, QString>;  // folded key path
    static Path PathOf(RegistryRoot root, const QString& keyPath);

    std::set<Path> keys_;
    std::map<Path, std::map<QString, std::pair<QString, RegistryData>>> values_;  // folded name → (name, value)
    std::map<Key, Path> handles_;
    Key nextHandle_ = 1;
    std::uint64_t changes_ = 0;
    struct Snapshot {
        std::set<Path> keys;
        std::map<Path, std::map<QString, std::pair<QString, RegistryData>>> values;
    };
    std::optional<Snapshot> before_;
};

}  // namespace platform
