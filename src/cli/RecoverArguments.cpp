#include "cli/RecoverArguments.h"

#include <QRegularExpression>

RecoverArguments RecoverArguments::Parse(const QStringList& arguments)
{
    RecoverArguments parsed;
    if (arguments.isEmpty())
        return parsed;
    if (arguments.size() > 1) {
        parsed.method = Method::Invalid;
        parsed.problem = QStringLiteral("un seul argument est attendu, %1 donnés").arg(arguments.size());
        return parsed;
    }
    const QString& word = arguments.front();
    if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
        parsed.method = Method::Help;
    } else if (word == QLatin1String("all")) {
        parsed.method = Method::All;
    } else {
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
    }
    return parsed;
}

QString RecoverArguments::Usage()
{
    return QStringLiteral("usage : mnemora-recover [all | MB | --help]");
}
