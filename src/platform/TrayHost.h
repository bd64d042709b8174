#pragma once
// Module-qualified: rooms that link only QtCore include this header through Platform.h.
#include <QtCore/QPoint>
#include <QtCore/QString>
#include <QtGui/QImage>
#include <functional>
#include <optional>

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
};

// What the user (or the desktop) did to the icon.
enum class TrayNotice {
    Click,           // left button
    DoubleClick,     // left button, twice within the desktop's double-click time
    ContextClick,    // right button
    MiddleClick,
    BalloonClicked,
    HostRecreated,   // the tray host (re)started: icons must be added again to be seen
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
    // Notices are delivered on the user-interface thread; an empty receiver drops them.
    virtual void SetReceiver(NoticeReceiver receiver) = 0;
    virtual std::optional<QPoint> CursorPosition() const = 0;  // screen coordinates
    virtual int DoubleClickTime() const = 0;                   // milliseconds
};

}  // namespace platform
