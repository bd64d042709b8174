// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <optional>

namespace platform {

// The user's XDG autostart entry that starts the program with the session: a Desktop Entry file
// that stands for the registry's Run value. Only a file this program wrote is ever replaced or
// removed; one of the same name from elsewhere is left as it is.
class AutostartEntry {
public:
    explicit AutostartEntry(QString filePath);

    QString FilePath() const { return filePath_; }

    // command: the program's path, in double quotes or bare. False when a file not ours stands in
    // the way or the file cannot be written.
    bool Write(const QString& command);
    // True when no entry of ours is left; a file not ours stays and gives false.
    bool Remove();
    // The command our entry was written for; nothing when there is no entry of ours.
    std::optional<QString> Read() const;

    // The Exec value that runs program with no argument, quoted by the Desktop Entry rules.
    static QString ExecValue(const QString& program);

private:
    enum class Found { Nothing, Ours, Foreign };
    Found Look(QByteArray* contents = nullptr) const;

    QString filePath_;
};

}  // namespace platform
