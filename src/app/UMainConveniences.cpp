// SPDX-License-Identifier: GPL-3.0-or-later
// The window's conveniences (stay on top, opacity, the hot key, the author's links) and its news.
#include <QWindow>

#include "app/AuthorLinks.h"
#include "app/UMain.h"
#include "app/WindowOpacity.h"
#include "hotkey/GlobalHotKey.h"
#include "hotkey/ShortCut.h"
#include "monitor/NamedColors.h"
#include "news/NewsFeed.h"
#include "platform/Rounding.h"

namespace {

const QString kHotKeyInactiveHint =
    QStringLiteral("Ce raccourci n'est pas actif sur ce bureau : associez la commande « mnemora-xp --recover » "
                   "à une touche dans les raccourcis clavier du bureau.");
const QString kHotKeyInactiveLine =
    QStringLiteral("Raccourci inactif sur ce bureau : associez « mnemora-xp --recover » à une touche du bureau.");

}  // namespace

void TfMainMem::ApplyStayOnTop()
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, ui.CheckBox2->isChecked());
    if (flags == windowFlags())
        return;
    // Setting a widget's window flags re-creates its native window, which flickers and takes the
    // focus away: the window that exists only changes its level.
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle())
        window->setFlags(flags);
}

void TfMainMem::TrackBar2Change()
{
    const int position = ui.TrackBar2->value();
    setWindowOpacity(WindowOpacity(position));
    ui.TrackBar2->setToolTip(QStringLiteral("%1%").arg(RoundHalfEven(position / 255.0 * 100)));
}

void TfMainMem::HotKey1Change()
{
    // Where the desktop holds no key for a program, its own shortcut settings can run the command.
    // Said where the eye is, under the field, in place of the line that says the key runs it.
    if (!GlobalHotKey1->CanBeHeld()) {
        ui.HotKey1->setToolTip(kHotKeyInactiveHint);
        ui.Label28->setText(kHotKeyInactiveLine);
    }
    const TShortCut shortCut = ui.HotKey1->ShortCut();
    // Held without Ctrl or Alt, a key that types text would stop typing it in every program: the
    // field shows it, but the combination held before stays.
    if (TypesText(shortCut))
        return;
    GlobalHotKey1->SetHotKey(shortCut);
}

void TfMainMem::HighlightLink(QLabel* label, bool highlighted)
{
    label->setCursor(highlighted ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, highlighted ? clRed : clBlack);
    label->setPalette(colours);
}

void TfMainMem::Label32Click()
{
    shell_.Open(QString::fromLatin1(kAuthorWebAddress));
}

void TfMainMem::Label11Click()
{
    shell_.Open(AuthorMailLink(QString::fromLatin1(kAuthorEmail), QString::fromLatin1(kVersion)));
}

// ---- news -----------------------------------------------------------------------------------

void TfMainMem::CreateNewsFeed()
{
    NewsFeed1 = new TNewsFeed(downloader_, shell_, this);
    NewsFeed1->SetTitle(QStringLiteral("Mnemora XP News"));
    NewsFeed1->SetURL(TNewsFeed::ConfiguredURL());
}

void TfMainMem::ReleaseNewsFeed()
{
    delete NewsFeed1;
    NewsFeed1 = nullptr;
}

void TfMainMem::Button1Click()
{
    // Released when the session was about to end; a session that went on gets it back.
    if (!NewsFeed1)
        CreateNewsFeed();
    NewsFeed1->Show();
}
