// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FontSubstitutes.h"

#include <QFont>

void SubstituteArial()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}
