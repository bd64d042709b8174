#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window driven by the keyboard alone (xdotool key, no pointer): Tab reaches every control of
# every page, a recovery runs, a setting is changed and saved, the chart's menu opens, the news
# window opens and a news link and an address link are opened. What has the focus is followed
# over AT-SPI, as a screen reader follows it.
# Usage: KeyboardTest.sh MNEMORA_XP
set -u
app=$1
here=$(cd "$(dirname "$0")" && pwd)
walk=$here/AccessibilityWalk.py
source "$here/common.sh"
IsolateHome
KillStartedOnExit
UseLinkRecorder
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# The news file, served from the loopback.
mkdir -p "$home/www"
printf 'item0=Nouveautés\r\nsubitem0-0=Site|http://127.0.0.1/nouveautes.html\r\n' >"$home/www/news.inf"
/usr/bin/python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$home/www" >"$home/server.log" 2>&1 &
started+=("$!")
waitFor 10 grep -q 'port [0-9]*' "$home/server.log"
port=$(grep -o 'port [0-9]*' "$home/server.log" | head -n 1 | cut -d' ' -f2)
export MNEMORA_NEWS_URL="http://127.0.0.1:$port/news.inf"

focusLog=$home/focus.log
: >"$focusLog"
# "role|name" of the control that has the focus now.
focused() { tail -n 1 "$focusLog"; }
focusedName() { focused | cut -d'|' -f2-; }
focusIs() { [ "$(focusedName)" = "$1" ]; }
key() { xdotool key --delay 60 "$@"; sleep 0.3; }
# Presses Tab until the control named $1 has the focus.
tabTo() {
  local _
  for _ in $(seq 40); do focusIs "$1" && return 0; key Tab; done
  focusIs "$1"
}
# The names that took the focus since line $1 of the log.
focusedSince() { tail -n +"$(($1 + 1))" "$focusLog" | cut -d'|' -f2- | sort -u; }
reachedAll() {  # reachedAll FROM NAME...: every name took the focus since line FROM
  local from=$1 name missing=""
  shift
  for name in "$@"; do focusedSince "$from" | grep -qxF -- "$name" || missing="$missing [$name]"; done
  [ -z "$missing" ] || { echo "     not reached:$missing"; return 1; }
}
# One round of Tab over the page shown.
tabRound() { key --repeat 24 Tab; }
# Ctrl+Tab: the next page (from a control that lets it through: the hot-key field takes it as a
# combination, a slider as a page step).
nextPage() { key ctrl+Tab; }
lines() { wc -l <"$focusLog"; }
statusHas() { /usr/bin/python3 "$walk" status "$pid" | grep -q "$1"; }
# The menu's items as the arrows go over them, with their ticks: "Basse,Normale+,Haute".
menuItems() {
  local from
  from=$(lines)
  key Down Down Down
  tail -n +"$((from + 1))" "$focusLog" | awk -F'|' '/menu item/ { printf "%s%s%s", sep, $2, ($1 ~ /ticked/ ? "+" : ""); sep = "," }'
}
onTop() { xprop -id "$(mainWindow)" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
opened() { grep -qxF "$1" "$links"; }
newsShown() { xdotool search --onlyvisible --name '^Mnemora XP News$' >/dev/null 2>&1; }

"$app" &
pid=$!
started+=("$pid")
waitFor 30 windowShown
waitFor 30 not windowShown
/usr/bin/python3 "$walk" follow-focus "$pid" "$focusLog" &
started+=("$!")
"$app"  # a second start shows the window and gives it the focus
check "the window comes back with the keyboard's focus" waitFor 10 test "$(xdotool getwindowfocus 2>/dev/null)" = "$(mainWindow)"

# Every control of every page, by Tab; the radio groups by the arrow keys.
from=$(lines); tabRound
check "\"Système\": Tab reaches the chart and the buttons" reachedAll "$from" \
  "Historique de l'utilisation du système" "Optimise la RAM !" "Quitter Mnemora XP"
tabTo "Historique de l'utilisation du système"
key shift+F10
items=$(menuItems)
check "Shift+F10 on the chart opens its menu, \"Normale\" ticked ($items)" test "$items" = "Basse,Normale+,Haute"
key Return
check "Enter on \"Haute\" closes it, the focus back on the chart" waitFor 5 focusIs "Historique de l'utilisation du système"
key Menu
items=$(menuItems)
check "the Menu key opens it too, \"Haute\" now ticked ($items)" test "$items" = "Basse,Normale,Haute+"
key Escape
check "Escape closes it" waitFor 5 focusIs "Historique de l'utilisation du système"

nextPage
from=$(lines); tabRound
tabTo "Système"; key Down; key Tab; key Down; key shift+Tab; key Down
# ("Optimisation de la mémoire pour :" and the kernel's box are disabled where the machine's hive
# is not the system's own)
check "\"Réglages\": Tab and the arrows reach every control" reachedAll "$from" \
  "Système" "Manuel" "Tout" "Nbre de Mo à essayer d'atteindre (méthode manuelle)" "Niveau alarme en %" \
  "Libère toutes les" "Charge CPU inférieure à" "Optimisation du cache :" "Optimiser le cache niveau 2" \
  "Réinitialiser le fichier swap au redémarrage"
tabTo "Tout"; key Up Up
tabTo "Réinitialiser le fichier swap au redémarrage"
nextPage
from=$(lines); tabRound
tabTo "pourcentage"; key Right Left  # two columns
check "\"Paramètres\": every control, through the hot-key field" reachedAll "$from" \
  "Toujours visible?" "Démarre avec Win ?" "Décharge Dll inutilisées" \
  "\"HotKey\" cette combinaison de touche lance l'optimisation !" "Opacité de la fenêtre" "Tray Balloon?" \
  "pourcentage" "MB libres" "Enregistrer"
tabTo "Enregistrer"
from=$(lines); nextPage; tabRound
check "\"Informations\": the refresh button" reachedAll "$from" "Rafraichir"
from=$(lines); nextPage; tabRound
check "\"Processeur\": the feature table" reachedAll "$from" "Fonctions du processeur"
nextPage
from=$(lines); tabRound
check "\"A propos de...\": both links and the news button" reachedAll "$from" \
  "https://mnemora-xp.example.org/" "Email : auteur@example.org" "Infos directs"

# A link, then the news window and one of its links.
tabTo "https://mnemora-xp.example.org/"
key Return
check "Enter on the web link opens it" waitFor 10 opened "https://mnemora-xp.example.org/"
key Tab space
check "Space on the mail link opens it" waitFor 10 grep -q '^mailto:auteur@example.org' "$links"
tabTo "Infos directs"
key Return
check "Enter on \"Infos directs\" opens the news window" waitFor 10 newsShown
tabTo "Update"
key space
check "Space on \"Update\" downloads the news" waitFor 15 grep -q 'GET /news.inf' "$home/server.log"
key Tab Down Right Down Return
check "Enter on a news link opens it" waitFor 10 opened "http://127.0.0.1/nouveautes.html"

# A recovery, from the "Système" page.
"$app"  # back to the main window
waitFor 10 test "$(xdotool getwindowfocus 2>/dev/null)" = "$(mainWindow)"
key ctrl+Tab  # from the last page round to the first
key alt+o
check "Alt+O runs a recovery to its end" waitFor 60 statusHas "^Quantité récupérée : -\?[0-9]* MB$"

# A setting changed and saved, kept by a program that ends without saving.
key ctrl+Tab ctrl+Tab
tabTo "Toujours visible?"
key space
key alt+e
sleep 1
{ kill -KILL "$pid" && wait "$pid"; } 2>/dev/null  # killed, the program saves nothing at its end
"$app" &
pid=$!
started+=("$pid")
check "started again after \"Enregistrer\" (Alt+E) and a kill, the window shows" waitFor 30 windowShown
check "no longer on top: the cleared box was saved" not onTop
kill -TERM "$pid"
check "the program ends in order" waitFor 15 not running "$pid"
[ "$failed" = 0 ] || { echo "what took the focus, in order:"; uniq "$focusLog" | sed 's/^/     /' | tail -n 40; }
Summary
