// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QString>
#include <cstdint>

// One free-memory reading as the window and the tray icon show it. Megabytes are 1024 x 1024
// bytes; every figure is rounded to the nearest, a half to the even neighbour.
struct TFreeMemoryReading {
    std::int64_t freeBytes = 0;
    std::int64_t freeMb = 0;
    std::int64_t freePercent = 0;  // of the total memory; 0 when the system reports no total
    QString mbText;                // freeMb cut to its first five characters

    static TFreeMemoryReading Of(std::int64_t freeBytes, std::int64_t totalBytes);

    // The tray square turns red at 25 % free or less, yellow up to 45 %, lime green above.
    QColor TrayColour() const;
    // The icon's text and status panel 0, in megabytes when the tray display mode is 1 ("MB
    // libres"), in percent for any other mode, none chosen included: "512" and " 512 MB", or
    // "37%" and " 37 %".
    QString TrayText(int displayMode) const;
    QString PanelText(int displayMode) const;
    // "RAM Libre : 370 MB sur 1000 MB RAM Installée", set on every tick.
    QString Hint(std::int64_t installedMb) const;
    // The free-memory label's "370 MB", never cut.
    QString LabelText() const;
};
