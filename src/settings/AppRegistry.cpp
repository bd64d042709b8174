// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/AppRegistry.h"

namespace {

ERegistryException Failure(const char* format, const QString& name)
{
    return ERegistryException(QString::fromLatin1(format).arg(name).toStdString());
}

}  // namespace

TAppRegistry::TAppRegistry(platform::IRegistry& registry) : registry_(registry) {}

TAppRegistry::~TAppRegistry()
{
    CloseKey();
}

bool TAppRegistry::OpenKey(const QString& path, bool canCreate)
{
    CloseKey();
    const QString fromRoot = path.startsWith(QLatin1Char('\\')) ? path.mid(1) : path;
    key_ = registry_.OpenKey(root_, fromRoot, canCreate);
    if (key_)
        currentPath_ = fromRoot;
    return key_.has_value();
}

void TAppRegistry::CloseKey()
{
    if (key_)
        registry_.CloseKey(*key_);
    key_.reset();
    currentPath_.clear();
}

std::int32_t TAppRegistry::ReadInteger(const QString& name)
{
    const std::optional<platform::RegistryData> value = key_ ? registry_.QueryValue(*key_, name) : std::nullopt;
    if (!value)
        throw Failure("Failed to get data for '%1'", name);
    if (const auto* number = std::get_if<std::int32_t>(&*value))
        return *number;
    throw Failure("Invalid data type for '%1'", name);
}

void TAppRegistry::WriteInteger(const QString& name, std::int32_t value)
{
    Write(name, value);
}

void TAppRegistry::WriteString(const QString& name, const QString& value)
{
    Write(name, value);
}

void TAppRegistry::Write(const QString& name, const platform::RegistryData& value)
{
    if (!key_ || !registry_.SetValue(*key_, name, value))
        throw Failure("Failed to set data for '%1'", name);
}

bool TAppRegistry::DeleteValue(const QString& name)
{
    return key_ && registry_.DeleteValue(*key_, name);
}

TAppRegistry::Change::Change(TAppRegistry& registry, platform::RegistryRoot root) : registry_(registry), root_(root)
{
    registry_.registry_.BeginChange(root_);
}

TAppRegistry::Change::~Change()
{
    if (!ended_)
        registry_.registry_.EndChange(root_, false);
}

void TAppRegistry::Change::Keep(const QString& what)
{
    ended_ = true;
    if (!registry_.registry_.EndChange(root_, true))
        throw Failure("Failed to set data for '%1'", what);
}
