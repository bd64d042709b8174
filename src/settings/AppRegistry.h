// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>
#include <optional>

#include "platform/ProgramError.h"
#include "platform/Registry.h"

// A registry read or write that failed; its text names the value.
class ERegistryException : public ProgramError {
public:
    using ProgramError::ProgramError;
};

// The one registry accessor of the settings and tuning code. Its users set the root, open a key
// by its full path, read and write, and close it again within one call; at most one key is open.
// Reads and writes raise ERegistryException with the texts users see.
class TAppRegistry {
public:
    explicit TAppRegistry(platform::IRegistry& registry);
    ~TAppRegistry();
    TAppRegistry(const TAppRegistry&) = delete;
    TAppRegistry& operator=(const TAppRegistry&) = delete;

    platform::RegistryRoot RootKey() const { return root_; }
    void SetRootKey(platform::RegistryRoot root) { root_ = root; }

    // Closes the key that was open, then opens path from the root; a leading backslash is
    // dropped. False when the key does not open or cannot be created, never an error.
    bool OpenKey(const QString& path, bool canCreate);
    void CloseKey();
    bool HasOpenKey() const { return key_.has_value(); }
    QString CurrentPath() const { return currentPath_; }

    std::int32_t ReadInteger(const QString& name);
    bool ReadBool(const QString& name) { return ReadInteger(name) != 0; }
    void WriteInteger(const QString& name, std::int32_t value);
    void WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }
    void WriteString(const QString& name, const QString& value);
    // A value that is not there is no error.
    bool DeleteValue(const QString& name);
    // See IRegistry::ChangeStamp.
    std::optional<std::uint64_t> ChangeStamp(platform::RegistryRoot root) { return registry_.ChangeStamp(root); }

    // The writes under one root from its making until Keep, landing whole or not at all: a
    // process killed before Keep, or a change left without it (a write raised), leaves every
    // value as it was. Keep raises "Failed to set data for '<what>'" when the writes could not
    // be kept.
    class Change {
    public:
        Change(TAppRegistry& registry, platform::RegistryRoot root);
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;
        void Keep(const QString& what);

    private:
        TAppRegistry& registry_;
        platform::RegistryRoot root_;
        bool ended_ = false;
    };

private:
    void Write(const QString& name, const platform::RegistryData& value);

    platform::IRegistry& registry_;
    platform::RegistryRoot root_ = platform::RegistryRoot::CurrentUser;
    std::optional<platform::IRegistry::Key> key_;
    QString currentPath_;
};
