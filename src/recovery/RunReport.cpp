// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/RunReport.h"

#include "recovery/RecoveryAmounts.h"

std::int64_t TRunReport::Gain(std::int64_t freeAfter)
{
    freeAfter_ = freeAfter;
    return GainMegabytes(freeBefore_, freeAfter_);
}

QString RunStartText()
{
    return QStringLiteral(" optimisation en cours ... %");
}

QString RunProgressText(int progress)
{
    return QStringLiteral(" optimisation en cours ...%1 %").arg(progress);
}

QString RunGainText(std::int64_t gainedMb)
{
    return QStringLiteral(" Quantité récupérée : %1 MB").arg(gainedMb);
}

QString RunStartBalloon()
{
    return QStringLiteral("Optimisation en cours ...");
}

QString RunEndBalloon(std::int64_t gainedMb)
{
    return QStringLiteral("Optimisation terminée!\n\rQuantitée récupérée : %1 MB.").arg(gainedMb);
}
