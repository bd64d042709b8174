// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <vector>

#include "platform/TrayHost.h"
#include "platform/TrayPresence.h"

namespace platform {

// A tray a test can read and poke: every call is recorded in order, the tray's current content is
// kept as a desktop would show it, and Raise() plays the user's clicks.
class FakeTrayHost : public ITrayHost, public ITrayPresence {
public:
    enum class Call { Add, Modify, Delete };
    struct Record {
        Call call;
        TrayIconData data;
    };

    void Add(const TrayIconData& data) override;
    void Modify(const TrayIconData& data) override;
    void Delete() override;
    bool Available() const override { return available; }
    void SetMenu(QMenu* shownMenu) override { menu = shownMenu; }
    void SetReceiver(NoticeReceiver receiver) override { receiver_ = std::move(receiver); }
    void SetGoneReceiver(std::function<void()> receiver) override { goneReceiver_ = std::move(receiver); }
    std::optional<QPoint> CursorPosition() const override { return cursor; }
    int DoubleClickTime() const override { return doubleClickTime; }

    void Raise(TrayNotice notice);
    // The tray goes away: not available any more, and those who asked are told.
    void GoAway()
    {
        available = false;
        if (goneReceiver_)
            goneReceiver_();
    }
    bool HasReceiver() const { return static_cast<bool>(receiver_); }
    int Count(Call call) const;

    std::vector<Record> calls;
    bool inTray = false;
    TrayIconData shown;                  // picture and tip in the tray while inTray
    std::vector<TrayBalloon> balloons;   // balloons that appeared, in order
    std::optional<QPoint> cursor = QPoint(640, 400);
    int doubleClickTime = 0;
    bool available = true;  // a notification area is there
    QMenu* menu = nullptr;  // the menu handed to the desktop
    std::function<void(Call)> onCall;  // runs first in every call; may throw to play a failing shell

private:
    NoticeReceiver receiver_;
    std::function<void()> goneReceiver_;
};

}  // namespace platform
