// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG pictures decoded by libjpeg. A missing, broken or truncated file gives a null image:
// no picture, never a crash.
QImage DecodeJpeg(const QByteArray& bytes);
QImage LoadJpeg(const QString& path);
