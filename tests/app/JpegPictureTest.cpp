// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/JpegPicture.h"

namespace {

QByteArray Resource(const char* path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(JpegPicture, OurLogosDecode)
{
    const QImage linux = DecodeJpeg(Resource(":/logos/linux.jpg"));
    EXPECT_EQ(linux.size(), QSize(145, 97));
    const QImage amd = DecodeJpeg(Resource(":/logos/amd.jpg"));  // stored in grey levels
    EXPECT_EQ(amd.size(), QSize(113, 97));
    EXPECT_EQ(LoadJpeg(QStringLiteral(":/logos/intel.jpg")).size(), QSize(113, 97));
    for (const char* logo : {"win95", "win98", "winnt", "win2k", "winxp", "cyrix"})
        EXPECT_FALSE(LoadJpeg(QStringLiteral(":/logos/%1.jpg").arg(QLatin1String(logo))).isNull()) << logo;
}

TEST(JpegPicture, BrokenOrMissingGivesNoPicture)
{
    const QByteArray good = Resource(":/logos/linux.jpg");
    ASSERT_FALSE(good.isEmpty());

    QByteArray corrupt = good;
    for (int i = 2; i < 40; ++i)
        corrupt[i] = static_cast<char>(0xA5);  // the headers after the start marker
    EXPECT_TRUE(DecodeJpeg(corrupt).isNull());
    EXPECT_TRUE(DecodeJpeg(good.left(good.size() / 2)).isNull());  // cut short
    QByteArray scrambled = good;
    for (int i = good.size() / 2; i < good.size() - 2; i += 7)
        scrambled[i] = static_cast<char>(0xFF);
    EXPECT_TRUE(DecodeJpeg(scrambled).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture at all")).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("corrupt.jpg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(corrupt);
    file.close();
    EXPECT_TRUE(LoadJpeg(path).isNull());
    EXPECT_TRUE(LoadJpeg(folder.filePath(QStringLiteral("missing.jpg"))).isNull());
}

}  // namespace
