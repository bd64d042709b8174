#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The main window as a screen reader meets it over AT-SPI, from outside the program.

Usage: AccessibilityWalk.py COMMAND PID [ARGUMENTS]
  check PID LINK_LOG    walks the whole window on every page and checks what it is told
                        (prints "ok"/"FAIL" lines, exits 1 on a failure)
  follow-focus PID LOG  writes "role|name" of each control that takes the focus, until killed
                        (a ticked menu item's role reads "check menu item, ticked")
  status PID            prints the names of the status bar's panels, one a line
  dump PID              prints the tree (for a person reading a failure)
"""
import re
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

warnings.filterwarnings("ignore", category=DeprecationWarning)  # the action names' old call is the one 2.46 has

Role = Atspi.Role
State = Atspi.StateType

# Roles that carry something to read, even where they take no focus.
INFORMATIVE = {
    Role.LABEL, Role.IMAGE, Role.ICON, Role.CHART, Role.PROGRESS_BAR, Role.STATUS_BAR, Role.TABLE_CELL,
    Role.COLUMN_HEADER, Role.TABLE_COLUMN_HEADER, Role.PAGE_TAB, Role.LINK, Role.STATIC, Role.PUSH_BUTTON,
    Role.CHECK_BOX, Role.RADIO_BUTTON, Role.SLIDER, Role.SPIN_BUTTON, Role.COMBO_BOX, Role.TABLE, Role.TREE,
    Role.TREE_TABLE, Role.ENTRY, Role.TEXT,
}
# Roles that hold others and are named by their titles.
CONTAINERS = {Role.PANEL, Role.GROUPING, Role.FILLER, Role.PAGE_TAB_LIST, Role.FRAME, Role.LAYERED_PANE}
# Controls whose caption is the check box switching their value on (a check box is no label to Qt).
CAPTIONED_BY_CHECK_BOX = {"Niveau alarme en %", "Libère toutes les"}

STATUS_FREE = re.compile(r"^\d+ (%|MB)$")
STATUS_LOAD = re.compile(r"^\d+ %$")
CHART_DESCRIPTION = re.compile(r"^RAM libre : (\d+) %, alarme RAM : (\d+) %, activité CPU : (-?\d+) %$")


def application(pid, seconds=20):
    """The program's accessible application, once it has joined the registry."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == pid:
                app.set_cache_mask(Atspi.Cache.NONE)  # every question goes to the program itself
                return app
        time.sleep(0.2)
    sys.exit("the program did not join the accessibility bus")


def name_of(node):
    try:
        return (node.get_name() or "").strip()
    except GLib.Error:
        return ""


def states(node):
    try:
        return node.get_state_set()
    except GLib.Error:
        return Atspi.StateSet.new([])


def children(node):
    try:
        count = node.get_child_count()
    except GLib.Error:
        return []
    found = []
    for i in range(count):
        try:
            child = node.get_child_at_index(i)
        except GLib.Error:
            child = None
        if child is not None:
            found.append(child)
    return found


def walk(node, shown=True, ancestors=()):
    """Every object under node with whether it is on screen and its ancestors, depth first."""
    shown = shown and states(node).contains(State.SHOWING)
    yield node, shown, ancestors
    for child in children(node):
        yield from walk(child, shown, ancestors + (node,))


def main_window(app, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for window in children(app):
            if window.get_role() == Role.FRAME and name_of(window) == "Mnemora XP" and states(window).contains(State.SHOWING):
                return window
        time.sleep(0.2)
    sys.exit("the main window is not shown")


def related(a, b):
    """Whether one of a and b is told as the other's label."""
    for first, second in ((a, b), (b, a)):
        for relation in first.get_relation_set() or []:
            if relation.get_relation_type() in (Atspi.RelationType.LABEL_FOR, Atspi.RelationType.LABELLED_BY):
                if any(relation.get_target(i) == second for i in range(relation.get_n_targets())):
                    return True
    return False


def describe(node):
    return "%s %r" % (node.get_role_name(), name_of(node))


class Checks:
    def __init__(self):
        self.failed = 0

    def check(self, title, condition, detail=""):
        if condition:
            print("ok   " + title)
        else:
            self.failed += 1
            print("FAIL " + title + (": " + detail if detail else ""))
        sys.stdout.flush()
        return condition


def find(window, role, name=None, shown_only=True):
    for node, shown, _ in walk(window):
        if (shown or not shown_only) and node.get_role() == role and (name is None or name_of(node) == name):
            return node
    return None


def press(node):
    """Runs the object's "press" action (a check or radio button's "toggle"); False when it has
    neither or the program refused."""
    try:
        names = [node.get_action_name(i).lower() for i in range(node.get_n_actions())]
        for action in ("press", "toggle"):
            if action in names:
                return node.do_action(names.index(action))
    except GLib.Error:
        pass
    return False


def wait_until(condition, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    return condition()


def pages(window):
    tabs = find(window, Role.PAGE_TAB_LIST)
    return tabs, [tab for tab in children(tabs) if tab.get_role() == Role.PAGE_TAB] if tabs else []


def check_names(c, window, page):
    """The naming rules, on what the page shows."""
    nodes = [(node, ancestors) for node, shown, ancestors in walk(window) if shown]
    unnamed, borrowed, shared = [], [], []
    focusable = []
    for node, ancestors in nodes:
        role = node.get_role()
        name = name_of(node)
        is_focusable = states(node).contains(State.FOCUSABLE)
        if (is_focusable or role in INFORMATIVE) and not name:
            unnamed.append(describe(node))
        if not name:
            continue
        if is_focusable:
            focusable.append((node, ancestors))
        # Qt's last resort names a control after the group box around it: a picture or a text so
        # named has borrowed its box's title; a control may carry it when the box is its caption.
        if role not in CONTAINERS:
            for ancestor in ancestors:
                # (a focusable "filler" is a control Qt has no role for, and its parts carry its name)
                if ancestor.get_role() in CONTAINERS and not states(ancestor).contains(State.FOCUSABLE) \
                        and name_of(ancestor) == name:
                    if role in (Role.LABEL, Role.IMAGE, Role.ICON, Role.STATIC) or not related(node, ancestor):
                        borrowed.append("%s in %s" % (describe(node), describe(ancestor)))
        elif role == Role.PAGE_TAB_LIST and any(name_of(tab) == name for tab in children(node)):
            borrowed.append(describe(node) + " (its tab's caption)")
    # Two controls the focus can reach, told by one name: one of them has the other's.
    for i, (a, a_up) in enumerate(focusable):
        for b, b_up in focusable[i + 1:]:
            if name_of(a) != name_of(b) or a in b_up or b in a_up or related(a, b):
                continue
            if name_of(a) in CAPTIONED_BY_CHECK_BOX and {a.get_role(), b.get_role()} == {Role.CHECK_BOX, Role.SPIN_BUTTON}:
                continue
            shared.append("%s and %s" % (describe(a), describe(b)))
    # A text on the page that names a control it is not the caption of.
    labels = [node for node, _ in nodes if node.get_role() == Role.LABEL and name_of(node)]
    for label in labels:
        for control, up in focusable:
            # the caption of a control is the caption of its parts too (a combo box's line)
            if name_of(control) == name_of(label) and not any(related(label, c) for c in (control,) + up):
                shared.append("%s names %s" % (describe(label), describe(control)))
    c.check("%s: every control the focus reaches and every picture or text has a name" % page, not unnamed,
            "; ".join(unnamed))
    c.check("%s: no control is named after the group around it" % page, not borrowed, "; ".join(borrowed))
    c.check("%s: no name belongs to another control" % page, not shared, "; ".join(shared))


def check_status_bar(c, window, pid, link_log):
    bar = find(window, Role.STATUS_BAR)
    panels = children(bar) if bar else []
    c.check("the status bar has three panels", len(panels) == 3, str([describe(p) for p in panels]))
    if len(panels) != 3:
        return
    c.check("panel 1 is read as the free memory", bool(STATUS_FREE.match(name_of(panels[0]))), describe(panels[0]))
    c.check("panel 2 is read as the processor load", bool(STATUS_LOAD.match(name_of(panels[1]))), describe(panels[1]))
    c.check("the panels are read as texts", all(p.get_role() == Role.LABEL for p in panels[:2]))

    heard = []

    def on_name(event):
        if event.source in panels:
            heard.append((panels.index(event.source), event.any_data if isinstance(event.any_data, str) else name_of(event.source)))

    listener = Atspi.EventListener.new(on_name)
    listener.register("object:property-change:accessible-name")
    # The tray's display in megabytes: the free-memory panel says it at its next reading.
    in_megabytes = find(window, Role.RADIO_BUTTON, "MB libres", shown_only=False)
    if in_megabytes is not None:
        press(in_megabytes)
    optimise = find(window, Role.PUSH_BUTTON, "Optimise\nla RAM !") or find(window, Role.PUSH_BUTTON, "Optimise la RAM !")
    if not c.check("the recovery button is there", optimise is not None):
        return
    press(optimise)
    loop = GLib.MainLoop()

    def finished():
        if any(panel == 2 and text.strip().startswith("Quantité récupérée : ") for panel, text in heard) and \
                any(panel == 0 and text.strip().endswith(" MB") for panel, text in heard):
            loop.quit()
            return False
        return True

    GLib.timeout_add(100, finished)
    GLib.timeout_add_seconds(60, loop.quit)
    loop.run()
    listener.deregister("object:property-change:accessible-name")
    run = [text.strip() for panel, text in heard if panel == 2]
    print("     the gauge panel was heard as: %s" % " | ".join(dict.fromkeys(run)))
    c.check("a run's progress is announced", any(re.match(r"^optimisation en cours \.\.\.\d* ?%$", t) for t in run), str(run))
    c.check("and then the amount recovered", bool(run) and re.match(r"^Quantité récupérée : -?\d+ MB$", run[-1]) is not None,
            str(run[-1:]))
    c.check("the gauge panel now reads the amount", re.match(r"^Quantité récupérée : -?\d+ MB$", name_of(panels[2])) is not None,
            describe(panels[2]))
    c.check("the free memory is announced as it changes (now in MB)",
            any(panel == 0 and STATUS_FREE.match(text.strip()) and text.strip().endswith(" MB") for panel, text in heard),
            str([h for h in heard if h[0] != 2][:5]))


def check_chart(c, window):
    chart = find(window, Role.CHART, "Historique de l'utilisation du système")
    if not c.check("the chart is read by its title", chart is not None):
        return
    c.check("the chart takes the focus", states(chart).contains(State.FOCUSABLE))
    description = wait_until(lambda: CHART_DESCRIPTION.match(chart.get_description() or ""))
    c.check("the chart tells its latest readings", description is not None, repr(chart.get_description()))
    alarm = find(window, Role.SPIN_BUTTON, "Niveau alarme en %", shown_only=False)
    if description and alarm is not None:
        c.check("its alarm level is the alarm level set", int(description.group(2)) == int(alarm.get_current_value()))
        alarm.set_current_value(42.0)
        follows = wait_until(lambda: (CHART_DESCRIPTION.match(chart.get_description() or "") or [None] * 3)[2] == "42")
        c.check("and follows a new alarm level at the next point", bool(follows), repr(chart.get_description()))
        alarm.set_current_value(35.0)


def check_information_pages(c, window, page):
    if page == "Informations":
        box = find(window, Role.PANEL, "Informations système") or find(window, Role.GROUPING, "Informations système")
        inside = children(box) if box else []
        c.check("no picture or text in the box is named after it", all(name_of(n) != "Informations système" for n in inside))
        logos = [n for n in inside if n.get_role() == Role.IMAGE and states(n).contains(State.SHOWING)]
        c.check("the system's logo is named for what it shows", len(logos) == 1 and name_of(logos[0]).startswith("Logo "),
                str([describe(n) for n in logos]))
        c.check("the decorating icons are left out", not any(n.get_role() == Role.IMAGE and not name_of(n) for n in inside))
    if page == "Processeur":
        box = find(window, Role.PANEL, "Informations processeur") or find(window, Role.GROUPING, "Informations processeur")
        inside = children(box) if box else []
        c.check("nothing in the processor box is named after it", all(name_of(n) != "Informations processeur" for n in inside),
                str([describe(n) for n in inside if name_of(n) == "Informations processeur"]))
        table = next((n for n in inside if n.get_role() in (Role.TREE, Role.TABLE, Role.TREE_TABLE)), None)
        if c.check("the feature table is named", table is not None and name_of(table) != ""):
            headers = [name_of(table.get_column_header(i)) for i in range(table.get_n_columns())]
            c.check("its columns are named", headers == ["Fonction", "Description"], str(headers))
    if page == "A propos de...":
        links = [n for n, shown, _ in walk(window) if shown and n.get_role() == Role.LINK]
        c.check("the two addresses are links", [name_of(n) for n in links] ==
                ["https://mnemora-xp.example.org/", "Email : auteur@example.org"], str([describe(n) for n in links]))
        c.check("which the focus reaches", all(states(n).contains(State.FOCUSABLE) for n in links))
        banner = find(window, Role.IMAGE)
        c.check("the banner is named", banner is not None and name_of(banner) != "")
    if page == "Réglages":
        group = find(window, Role.PANEL, "Méthode") or find(window, Role.GROUPING, "Méthode")
        c.check("the three methods are members of their group",
                group is not None and [name_of(n) for n in children(group)] == ["Système", "Manuel", "Tout"])
        combo = find(window, Role.COMBO_BOX)
        c.check("the cache box is read by its caption", combo is not None and name_of(combo) == "Optimisation du cache :",
                describe(combo) if combo else "")
    if page == "Paramètres":
        caption = "\"HotKey\" cette combinaison de touche lance l'optimisation !"
        field = [n for n, shown, _ in walk(window) if shown and n.get_role() in (Role.TEXT, Role.ENTRY) and
                 states(n).contains(State.FOCUSABLE)]
        c.check("the hot-key field is read by its caption", any(name_of(n) == caption for n in field),
                str([describe(n) for n in field]))


def check_tabs(c, window, tabs, index):
    selected = [name_of(t) for t in tabs if states(t).contains(State.SELECTED)]
    c.check("the page's tab alone is selected", selected == [name_of(tabs[index])], str(selected))


def check_hidden_focus(c, window):
    """After the feature table had the focus and its page was left, no hidden cell says focused."""
    focused = [describe(n) for n, shown, _ in walk(window) if not shown and states(n).contains(State.FOCUSED)]
    c.check("nothing hidden is told as focused", not focused, "; ".join(focused[:5]))


def check(pid, link_log):
    app = application(pid)
    window = main_window(app)
    c = Checks()
    tab_list, tabs = pages(window)
    c.check("six page tabs", len(tabs) == 6, str([describe(t) for t in tabs]))
    for index, tab in enumerate(tabs):
        page = name_of(tab)
        press(tab)
        if not wait_until(lambda: states(tab).contains(State.SELECTED)):
            c.check("the tab %r selects its page" % page, False)
            continue
        time.sleep(0.3)
        check_tabs(c, window, tabs, index)
        check_names(c, window, page)
        check_information_pages(c, window, page)
        if page == "Processeur":
            table = find(window, Role.TREE) or find(window, Role.TABLE)
            if table is not None:
                table.grab_focus()
                time.sleep(0.3)
        if page == "A propos de...":
            link = find(window, Role.LINK, "https://mnemora-xp.example.org/")
            if link is not None:
                press(link)
                opened = wait_until(lambda: "https://mnemora-xp.example.org/" in open(link_log).read())
                c.check("the link's action opens it", bool(opened))
        if index == 4:
            pass
        if index == 5:
            check_hidden_focus(c, window)
    press(tabs[0])
    wait_until(lambda: states(tabs[0]).contains(State.SELECTED))
    check_chart(c, window)
    check_status_bar(c, window, pid, link_log)
    print("at-spi: %d failed" % c.failed)
    return 1 if c.failed else 0


def follow_focus(pid, log):
    application(pid)
    out = open(log, "a", buffering=1)

    def on_focus(event):
        if event.detail1 == 1:
            role = event.source.get_role_name()
            if states(event.source).contains(State.CHECKED):
                role += ", ticked"
            out.write("%s|%s\n" % (role, " ".join(name_of(event.source).split())))

    listener = Atspi.EventListener.new(on_focus)
    listener.register("object:state-changed:focused")
    GLib.MainLoop().run()


def status(pid):
    window = main_window(application(pid))
    bar = find(window, Role.STATUS_BAR)
    for panel in children(bar) if bar else []:
        print(name_of(panel))


def dump(pid):
    for node, shown, ancestors in walk(application(pid)):
        flags = "".join(f for f, s in (("S", shown), ("F", states(node).contains(State.FOCUSABLE)),
                                       ("f", states(node).contains(State.FOCUSED)),
                                       ("s", states(node).contains(State.SELECTED))) if s)
        print("  " * len(ancestors) + "%s [%s] %r" % (describe(node), flags, node.get_description() or ""))


if __name__ == "__main__":
    Atspi.init()
    command, pid = sys.argv[1], int(sys.argv[2])
    if command == "check":
        sys.exit(check(pid, sys.argv[3]))
    elif command == "follow-focus":
        follow_focus(pid, sys.argv[3])
    elif command == "status":
        status(pid)
    elif command == "dump":
        dump(pid)
    else:
        sys.exit(__doc__)
