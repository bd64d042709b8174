// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeRegistry.h"

namespace platform {

FakeRegistry::Path FakeRegistry::PathOf(RegistryRoot root, const QString& keyPath)
{
    return {root, Folded(KeyNames(keyPath).join(QLatin1Char('\\')))};
}

std::optional<IRegistry::Key> FakeRegistry::OpenKey(RegistryRoot root, const QString& path, bool create)
{
    if (root == RegistryRoot::LocalMachine && !isAdministrator)
        return std::nullopt;
    const Path key = PathOf(root, path);
    if (!key.second.isEmpty() && !keys_.contains(key)) {
        if (!create)
            return std::nullopt;
        AddKey(root, path);
    }
    handles_[nextHandle_] = key;
    ++openKeys;
    ++openings;
    return nextHandle_++;
}

void FakeRegistry::CloseKey(Key key)
{
    if (handles_.erase(key) > 0)
        --openKeys;
}

std::optional<RegistryData> FakeRegistry::QueryValue(Key key, const QString& name)
{
    const auto handle = handles_.find(key);
    if (handle == handles_.end())
        return std::nullopt;
    return Get(handle->second.first, handle->second.second, name);
}

bool FakeRegistry::SetValue(Key key, const QString& name, const RegistryData& value)
{
    const auto handle = handles_.find(key);
    if (handle == handles_.end() || failWrites)
        return false;
    writes.push_back({handle->second.first, handle->second.second, name, value});
    if (onWrite)
        onWrite(writes.back());
    Put(handle->second.first, handle->second.second, name, value);
    return true;
}

bool FakeRegistry::DeleteValue(Key key, const QString& name)
{
    const auto handle = handles_.find(key);
    if (handle == handles_.end() || failWrites)
        return false;
    writes.push_back({handle->second.first, handle->second.second, name, std::nullopt});
    if (onWrite)
        onWrite(writes.back());
    Remove(handle->second.first, handle->second.second, name);
    return true;
}

void FakeRegistry::Put(RegistryRoot root, const QString& keyPath, const QString& name, const RegistryData& value)
{
    ++changes_;
    AddKey(root, keyPath);
    values_[PathOf(root, keyPath)].insert_or_assign(Folded(name), std::pair{name, value});
}

std::optional<RegistryData> FakeRegistry::Get(RegistryRoot root, const QString& keyPath, const QString& name) const
{
    const auto key = values_.find(PathOf(root, keyPath));
    if (key == values_.end())
        return std::nullopt;
    const auto value = key->second.find(Folded(name));
    if (value == key->second.end())
        return std::nullopt;
    return value->second.second;
}

void FakeRegistry::AddKey(RegistryRoot root, const QString& keyPath)
{
    // Like the registry, a key brings its parents into being.
    QStringList names = KeyNames(keyPath);
    while (!names.isEmpty()) {
        keys_.insert({root, Folded(names.join(QLatin1Char('\\')))});
        names.removeLast();
    }
}

bool FakeRegistry::HasKey(RegistryRoot root, const QString& keyPath) const
{
    return keys_.contains(PathOf(root, keyPath));
}

void FakeRegistry::Remove(RegistryRoot root, const QString& keyPath, const QString& name)
{
    ++changes_;
    const auto key = values_.find(PathOf(root, keyPath));
    if (key != values_.end())
        key->second.erase(Folded(name));
}

std::size_t FakeRegistry::ValueCount(RegistryRoot root, const QString& keyPath) const
{
    const auto key = values_.find(PathOf(root, keyPath));
    return key == values_.end() ? 0 : key->second.size();
}

void FakeRegistry::BeginChange(RegistryRoot)
{
    before_ = Snapshot{keys_, values_};
}

bool FakeRegistry::EndChange(RegistryRoot root, bool keep)
{
    const bool kept = keep && !failKeeping;
    if (!kept && before_) {
        keys_ = before_->keys;
        values_ = before_->values;
    }
    before_.reset();
    changes.emplace_back(root, kept);
    return kept;
}

}  // namespace platform
