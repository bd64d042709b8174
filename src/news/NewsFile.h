// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// One link under a heading.
struct TNewsEntry {
    QString title;
    QString link;
    int image = 0;  // index into the news window's image list
};

struct TNewsHeading {
    QString text;
    std::vector<TNewsEntry> entries;
};

// A news file: lines of name=value, headings `item<N>=<text>` and entries
// `subitem<N>-<M>=<title>|<link>`, N and M from 0 to 99. The file comes from whoever controls a
// server or the network path, so anything at all must read without harm: a value is looked up
// through an index, never by scanning the lines once per name.
class TNewsFile {
public:
    static constexpr int kHeadingImage = 0;
    static constexpr int kLinkImage = 1;
    static constexpr int kZipImage = 2;
    static constexpr int kExeImage = 3;
    static constexpr int kLastNumber = 99;
    static constexpr int kMaxLinkLength = 128;

    explicit TNewsFile(const QByteArray& content);

    const QStringList& Lines() const { return lines_; }
    // The value of the first line whose name (the text before its first "=") equals `name`
    // without regard to case; empty when there is none.
    QString Value(const QString& name) const;
    bool FirstLineHolds404() const;
    // The headings that have text, in number order, each with its entries that have a "|".
    std::vector<TNewsHeading> Headings() const;

    // UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise (older files are written so).
    static QString DecodeText(const QByteArray& content);
    // By the text after the link's last ".", compared exactly: "zip", "exe", anything else.
    static int ImageForLink(const QString& link);

private:
    QStringList lines_;
    QHash<QString, QString> values_;  // by case-folded name, first line wins
};
