// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own texts in French, as the rest of the program: the standard buttons, the hot-key field's
// prompt, the command line's usage and its errors. They come from the translations Qt ships
// (qtbase_fr.qm in Qt's translations folder, Debian's qt6-translations-l10n), whatever the
// user's locale. The translator installed (the application owns it), or null when those are not
// installed: Qt's English texts stay.
QTranslator* InstallQtFrench(QCoreApplication& application);
