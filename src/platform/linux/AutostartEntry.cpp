// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/AutostartEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// The line that marks the entry as ours and keeps the registry value it stands for.
const QByteArray kMark = "X-MnemoraXP-Run=";

// A string value of a Desktop Entry: backslashes and control characters escaped.
QString Escaped(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

QString Unescaped(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i].unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        default: out += text[i];
        }
    }
    return out;
}

QString ProgramOf(const QString& command)
{
    if (command.size() >= 2 && command.startsWith(QLatin1Char('"')) && command.endsWith(QLatin1Char('"')))
        return command.mid(1, command.size() - 2);
    return command;
}

}  // namespace

AutostartEntry::AutostartEntry(QString filePath) : filePath_(std::move(filePath)) {}

QString AutostartEntry::ExecValue(const QString& program)
{
    // Inside double quotes, a backslash escapes the quote, the backtick, the dollar sign and
    // itself; a percent sign is doubled everywhere. The result is then a string value, whose own
    // escaping doubles every backslash again.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return Escaped(quoted);
}

AutostartEntry::Found AutostartEntry::Look(QByteArray* contents) const
{
    struct stat status {};
    if (::lstat(QFile::encodeName(filePath_).constData(), &status) != 0)
        return Found::Nothing;
    if (!S_ISREG(status.st_mode) || status.st_uid != ::geteuid())
        return Found::Foreign;
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly))
        return Found::Foreign;
    const QByteArray text = file.readAll();
    if (contents)
        *contents = text;
    return text.startsWith(kMark) || text.contains("\n" + kMark) ? Found::Ours : Found::Foreign;
}

bool AutostartEntry::Write(const QString& command)
{
    QByteArray existing;
    if (Look(&existing) == Found::Foreign)
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Mnemora XP\n"
                                         "Comment=Lance Mnemora XP à l'ouverture de la session\n"
                                         // A program removed since leaves no broken start-up entry:
                                         // the session skips an entry whose TryExec is gone.
                                         "TryExec=%2\n"
                                         "Exec=%1\n"
                                         "Icon=mnemora-xp\n"
                                         "Terminal=false\n")
                              .arg(ExecValue(ProgramOf(command)), Escaped(ProgramOf(command))) +
                          QString::fromUtf8(kMark) + Escaped(command) + QLatin1Char('\n');
    const QByteArray bytes = entry.toUtf8();
    if (existing == bytes)
        return true;
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    // Written beside and renamed into place: a kill leaves the old entry or the new one.
    QSaveFile file(filePath_);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool AutostartEntry::Remove()
{
    switch (Look()) {
    case Found::Nothing: return true;
    case Found::Foreign: return false;
    case Found::Ours: return QFile::remove(filePath_);
    }
    return false;
}

std::optional<QString> AutostartEntry::Read() const
{
    QByteArray contents;
    if (Look(&contents) != Found::Ours)
        return std::nullopt;
    for (const QByteArray& line : contents.split('\n')) {
        if (line.startsWith(kMark))
            return Unescaped(QString::fromUtf8(line.mid(kMark.size())));
    }
    return std::nullopt;
}

}  // namespace platform
