// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramArguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include "platform/Version.h"

ProgramArguments ProgramArguments::Parse(const QStringList& arguments)
{
    ProgramArguments parsed;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Rend de la mémoire physique au système ; vit dans la zone de notification."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Affiche la version."));
    const QCommandLineOption recover(
        QStringLiteral("recover"),
        QStringLiteral("Lance une récupération dans le programme en cours, comme le raccourci clavier (le démarre "
                       "d'abord s'il ne tourne pas). À associer à une touche sous Wayland."));
    const QCommandLineOption show(QStringLiteral("show"),
                                  QStringLiteral("Affiche la fenêtre du programme en cours (le démarre s'il ne tourne "
                                                 "pas)."));
    const QCommandLineOption kernel(
        QStringLiteral("kernel"),
        QStringLiteral("Avec --recover : la mémoire est reprise par le noyau (cgroup v2 memory.reclaim) dans vos "
                       "groupes, sans en prendre ; une récupération ordinaire là où ce n'est pas possible."));
    parser.addOptions({help, version, recover, show, kernel});

    if (!parser.parse(arguments)) {
        parsed.action = Action::Invalid;
        parsed.text = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        parsed.action = Action::Invalid;
        parsed.text = QStringLiteral("argument inattendu « %1 »").arg(parser.positionalArguments().front());
    } else if (parser.isSet(help)) {
        parsed.action = Action::Help;
        // The parser names the program after the running file: the usage line ("Usage: ", or
        // "Utilisation : " in Qt's French) says the command a user types.
        static const QRegularExpression usage(QStringLiteral("^([^\\n:]*:\\s*)\\S+"));
        parsed.text = parser.helpText().replace(usage, QStringLiteral("\\1mnemora-xp"));
    } else if (parser.isSet(version)) {
        parsed.action = Action::Version;
        parsed.text = QStringLiteral("mnemora-xp %1\n").arg(QLatin1String(platform::kProgramVersion));
    } else if (parser.isSet(recover) && parser.isSet(show)) {
        parsed.action = Action::Invalid;
        parsed.text = QStringLiteral("--recover et --show ne vont pas ensemble");
    } else if (parser.isSet(kernel) && !parser.isSet(recover)) {
        parsed.action = Action::Invalid;
        parsed.text = QStringLiteral("--kernel ne va qu'avec --recover");
    } else if (parser.isSet(recover)) {
        parsed.action = parser.isSet(kernel) ? Action::RecoverByKernel : Action::Recover;
    } else if (parser.isSet(show)) {
        parsed.keepWindow = true;
    }
    return parsed;
}

QString ProgramArguments::Usage()
{
    return QStringLiteral("usage : mnemora-xp [--recover [--kernel] | --show | --help | --version]");
}
