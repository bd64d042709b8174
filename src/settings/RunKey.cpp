// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RunKey.h"

#include "platform/RegistryLocations.h"
#include "settings/AppRegistry.h"

namespace {

using platform::RegistryRoot;
namespace where = platform::registry_locations;

const QString kUnloadValue = QStringLiteral("AlwaysUnloadDLL");

QString RunKeyPath()
{
    return QLatin1Char('\\') + QLatin1String(where::kRunKey);
}

}  // namespace

QString QuotedPath(const QString& executablePath)
{
    return QLatin1Char('"') + executablePath + QLatin1Char('"');
}

void AddToRunKey(TAppRegistry& registry, const QString& executablePath)
{
    registry.SetRootKey(RegistryRoot::CurrentUser);
    if (!registry.OpenKey(RunKeyPath(), true))
        return;
    registry.WriteString(QLatin1String(where::kRunValue), QuotedPath(executablePath));
    registry.CloseKey();
}

void RemoveFromRunKey(TAppRegistry& registry)
{
    registry.SetRootKey(RegistryRoot::CurrentUser);
    if (!registry.OpenKey(RunKeyPath(), true))
        return;
    registry.DeleteValue(QLatin1String(where::kRunValue));
    registry.CloseKey();
}

void WriteAlwaysUnloadDll(TAppRegistry& registry, std::int32_t value)
{
    registry.SetRootKey(RegistryRoot::LocalMachine);
    if (!registry.OpenKey(QLatin1String(where::kExplorerKey), false))
        return;
    registry.WriteInteger(kUnloadValue, value);
    registry.CloseKey();
}

std::int32_t ReadAlwaysUnloadDll(TAppRegistry& registry)
{
    registry.SetRootKey(RegistryRoot::LocalMachine);
    if (!registry.OpenKey(QLatin1String(where::kExplorerKey), false))
        return 0;
    std::int32_t value = 0;
    try {
        value = registry.ReadInteger(kUnloadValue);
    } catch (const ERegistryException&) {
        value = 0;
    }
    registry.CloseKey();
    return value;
}
