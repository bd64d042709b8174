// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeTrayHost.h"

#include <algorithm>

namespace platform {

void FakeTrayHost::Add(const TrayIconData& data)
{
    if (onCall)
        onCall(Call::Add);
    calls.push_back({Call::Add, data});
    inTray = true;
    shown.icon = data.icon;
    shown.largerIcons = data.largerIcons;
    shown.tip = data.tip;
}

void FakeTrayHost::Modify(const TrayIconData& data)
{
    if (onCall)
        onCall(Call::Modify);
    calls.push_back({Call::Modify, data});
    if (!inTray)
        return;
    shown.icon = data.icon;
    shown.largerIcons = data.largerIcons;
    shown.tip = data.tip;
    if (data.balloon && !data.balloon->text.isEmpty())
        balloons.push_back(*data.balloon);
}

void FakeTrayHost::Delete()
{
    if (onCall)
        onCall(Call::Delete);
    calls.push_back({Call::Delete, {}});
    inTray = false;
}

void FakeTrayHost::Raise(TrayNotice notice)
{
    if (receiver_)
        receiver_(notice);
}

int FakeTrayHost::Count(Call call) const
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [call](const Record& r) { return r.call == call; }));
}

}  // namespace platform
