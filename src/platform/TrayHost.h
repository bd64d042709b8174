// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Module-qualified: rooms that link only QtCore include this header through Platform.h.
#include <QtCore/QPoint>
#include <QtCore/QString>
#include <QtCore/QList>
#include <QtGui/QImage>
#include <functional>
#include <optional>

class QMenu;

namespace platform {

enum class BalloonIcon { None = 0, Information = 1, Warning = 2, Error = 3 };

struct TrayBalloon {
    QString title;  // at most kMaxBalloonTitle characters
    QString text;   // at most kMaxBalloonText characters; empty takes the shown balloon away
    BalloonIcon icon = BalloonIcon::None;
    int timeoutMs = 0;
};

// What one icon shows in the notification area.
struct TrayIconData {
    QImage icon;  // 16 x 16; a null image shows no picture
    QString tip;  // at most kMaxTip characters; empty: no tool tip
    std::optional<TrayBalloon> balloon;  // set only by the calls that show or clear a balloon
    // The same picture drawn for larger tray slots, one per size; a tray takes the one that fits
    // its slot instead of stretching the 16 x 16 one into a blur.
    QList<QImage> largerIcons = {};
};

// What the user (or the desktop) did to the icon.
enum class TrayNotice {
    Click,           // left button
    DoubleClick,     // left button, twice within the desktop's double-click time
    ContextClick,    // right button
    MiddleClick,
    BalloonClicked,
    HostRecreated,   // a tray host (re)started, also the first one: icons must be added again to be seen
};

// One icon in the desktop's notification area.
class ITrayHost {
public:
    static constexpr int kMaxTip = 127;
    static constexpr int kMaxBalloonTitle = 63;
    static constexpr int kMaxBalloonText = 255;

    using NoticeReceiver = std::function<void(TrayNotice)>;

    virtual ~ITrayHost() = default;
    // Puts the icon into the tray with this picture and tip; an icon already there takes them.
    virtual void Add(const TrayIconData& data) = 0;
    // Changes the picture and tip, and shows or clears the balloon; without effect on the tray
    // while the icon is not in it.
    virtual void Modify(const TrayIconData& data) = 0;
    virtual void Delete() = 0;
    // True when the desktop has a notification area that shows the icon now; without one the
    // program must keep its window on screen.
    virtual bool Available() const = 0;
    // The menu the desktop may open itself (a StatusNotifierItem host shows it at the tray); a
    // right-click the desktop hands over still comes as a ContextClick notice.
    virtual void SetMenu(QMenu* menu) = 0;
    // Notices are delivered on the user-interface thread; an empty receiver drops them.
    virtual void SetReceiver(NoticeReceiver receiver) = 0;
    virtual std::optional<QPoint> CursorPosition() const = 0;  // screen coordinates
    virtual int DoubleClickTime() const = 0;                   // milliseconds
};

}  // namespace platform
