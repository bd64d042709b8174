// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

namespace platform {

// The two roots the settings and tuning code opens keys under.
enum class RegistryRoot {
    CurrentUser,   // the user's own settings
    LocalMachine,  // the machine's: full access for an administrator only
};

// A stored value: a 32-bit number (REG_DWORD) or a text (REG_SZ).
using RegistryData = std::variant<std::int32_t, QString>;

// Named keys under two roots, holding named values. Key paths are backslash-separated and taken
// from the root; key and value names compare without regard to case. Every key is opened with
// full access, which the machine's keys grant to an administrator only.
class IRegistry {
public:
    using Key = std::uint32_t;

    virtual ~IRegistry() = default;

    // The key at path, created with any missing parent when create is set; nothing when it does
    // not open (missing, not allowed, or the store is unusable).
    virtual std::optional<Key> OpenKey(RegistryRoot root, const QString& path, bool create) = 0;
    virtual void CloseKey(Key key) = 0;
    // Nothing when the value is missing or cannot be read.
    virtual std::optional<RegistryData> QueryValue(Key key, const QString& name) = 0;
    // False when the value could not be stored.
    virtual bool SetValue(Key key, const QString& name, const RegistryData& value) = 0;
    // True when the value is gone afterwards, also when it never was there.
    virtual bool DeleteValue(Key key, const QString& name) = 0;

    // Makes the writes under root that follow, up to EndChange, one change that lands whole or
    // not at all: a process killed in between leaves every value as it was. Calls do not nest.
    // A store without such a thing writes each value as it comes.
    virtual void BeginChange(RegistryRoot) {}
    // Keeps the writes made since BeginChange, or drops them when keep is false. False when
    // they were to be kept and could not be.
    virtual bool EndChange(RegistryRoot, bool keep) { return keep; }

    // A stamp that differs whenever the keys under root may have changed since it was last
    // given, by this program or by another; cheap enough to ask every second. Nothing when the
    // store cannot tell (then anything may have changed).
    virtual std::optional<std::uint64_t> ChangeStamp(RegistryRoot) { return std::nullopt; }

    // The path's key names: separators at either end or doubled name no key.
    static QStringList KeyNames(const QString& path) { return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts); }
    // How a name is compared: case folded, the way the registry ignores case.
    static QString Folded(const QString& name) { return name.toCaseFolded(); }
};

}  // namespace platform
