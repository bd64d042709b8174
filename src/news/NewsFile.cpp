// SPDX-License-Identifier: GPL-3.0-or-later
#include "news/NewsFile.h"

#include <QStringDecoder>

namespace {

// Blanks and control characters go, as they do around a name or a value typed by hand.
QString TrimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= u' ')
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

// Lines end at CR, LF or CR LF.
QStringList SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

}  // namespace

TNewsFile::TNewsFile(const QByteArray& content) : lines_(SplitLines(DecodeText(content)))
{
    for (const QString& line : lines_) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString name = line.left(equals).toCaseFolded();
        if (!values_.contains(name))
            values_.insert(name, line.mid(equals + 1));
    }
}

QString TNewsFile::Value(const QString& name) const
{
    return values_.value(name.toCaseFolded());
}

bool TNewsFile::FirstLineHolds404() const
{
    return !lines_.isEmpty() && lines_.first().contains(QLatin1String("404"));
}

std::vector<TNewsHeading> TNewsFile::Headings() const
{
    std::vector<TNewsHeading> headings;
    for (int n = 0; n <= kLastNumber; ++n) {
        const QString heading = Value(QStringLiteral("item%1").arg(n));
        if (heading.isEmpty())
            continue;
        TNewsHeading shown{heading, {}};
        for (int m = 0; m <= kLastNumber; ++m) {
            const QString value = Value(QStringLiteral("subitem%1-%2").arg(n).arg(m));
            const qsizetype bar = value.indexOf(u'|');
            if (bar < 0)
                continue;
            const QString link = TrimControls(value.mid(bar + 1, kMaxLinkLength));
            shown.entries.push_back({TrimControls(value.left(bar)), link, ImageForLink(link)});
        }
        headings.push_back(std::move(shown));
    }
    return headings;
}

QString TNewsFile::DecodeText(const QByteArray& content)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(content);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252.decode(content);
    return QString::fromLatin1(content);
}

int TNewsFile::ImageForLink(const QString& link)
{
    const qsizetype dot = link.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : link.mid(dot + 1);
    if (extension == QLatin1String("zip"))
        return kZipImage;
    if (extension == QLatin1String("exe"))
        return kExeImage;
    return kLinkImage;
}
