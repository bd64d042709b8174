// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RecoverArguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>

#include "platform/Version.h"

namespace {

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Affiche cette aide."));
const QCommandLineOption kVersion({QStringLiteral("v"), QStringLiteral("version")},
                                  QStringLiteral("Affiche la version."));
const QCommandLineOption kKernel(QStringLiteral("kernel"), QStringLiteral("Fait reprendre la mémoire par le noyau."));

}  // namespace

RecoverArguments RecoverArguments::Parse(const QStringList& arguments)
{
    RecoverArguments parsed;
    QCommandLineParser parser;
    parser.addOption(kHelp);
    parser.addOption(kVersion);
    parser.addOption(kKernel);
    if (!parser.parse(QStringList{QStringLiteral("mnemora-recover")} + arguments)) {
        parsed.method = Method::Invalid;
        // Named as it was typed: to the parser, "-5" is an option, not an amount.
        static const QStringList known{QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("-v"),
                                       QStringLiteral("--version"), QStringLiteral("--kernel"), QStringLiteral("--")};
        const auto culprit = std::ranges::find_if(arguments, [](const QString& word) {
            return word.startsWith(QLatin1Char('-')) && !known.contains(word);
        });
        parsed.problem = culprit != arguments.end()
                             ? QStringLiteral("option inconnue ou mal écrite « %1 »").arg(*culprit)
                             : parser.errorText();
        return parsed;
    }
    if (parser.isSet(kHelp)) {
        parsed.method = Method::Help;
        return parsed;
    }
    if (parser.isSet(kVersion)) {
        parsed.method = Method::Version;
        return parsed;
    }
    parsed.kernel = parser.isSet(kKernel);
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return parsed;
    if (words.size() > 1) {
        parsed.method = Method::Invalid;
        parsed.problem = QStringLiteral("un seul argument est attendu, %1 donnés").arg(words.size());
        return parsed;
    }
    const QString& word = words.front();
    if (word == QLatin1String("all")) {
        parsed.method = Method::All;
        return parsed;
    }
    // Anchored on the whole word: "$" alone would let a final line feed through.
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,10}")));
    bool ok = digits.match(word).hasMatch();
    const qint64 value = ok ? word.toLongLong(&ok) : 0;
    if (!ok || value > INT32_MAX) {
        parsed.method = Method::Invalid;
        parsed.problem = QStringLiteral("« %1 » n'est ni « all » ni un nombre de MB").arg(word);
    } else {
        parsed.method = Method::Amount;
        parsed.megabytes = static_cast<std::int32_t>(value);
    }
    return parsed;
}

QString RecoverArguments::Usage()
{
    return QStringLiteral("usage : mnemora-recover [--kernel] [all | MB] | --help | --version");
}

QString RecoverArguments::VersionText()
{
    return QStringLiteral("mnemora-recover %1").arg(QLatin1String(platform::kProgramVersion));
}
