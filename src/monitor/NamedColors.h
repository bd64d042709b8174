// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QGuiApplication>
#include <QPalette>

// The colours the program names. No colour at all (a transparent background) is clNone, an
// invalid QColor: test it with isValid().
inline constexpr QColor clNone;
inline constexpr QColor clBlack{0, 0, 0};
inline constexpr QColor clRed{255, 0, 0};
inline constexpr QColor clLime{0, 255, 0};
inline constexpr QColor clYellow{255, 255, 0};
inline constexpr QColor clSilver{192, 192, 192};

// A system colour: it follows the desktop's theme.
inline QColor clBtnFace()
{
    return QGuiApplication::palette().color(QPalette::Button);
}
