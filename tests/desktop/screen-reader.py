#!/usr/bin/python3
"""A screen-reader user programs a channel through the real AT-SPI bridge.

Runs the real vpr40t against the virtual radio on the X display tools/with-display.sh provides,
in a D-Bus session of its own (the accessibility bus and its registry start on demand there). This client sees the program only as a screen reader does, through the
accessibility bus, out of process: it starts a new image from the menu, enters a receive frequency,
picks a tone and an option from the cell editors' lists through the accessibility interface, saves
the image through the file dialog and checks the file's channel; it follows the read dialog's
progress as a value and reads the test mode's transmit indicator as text.

    /usr/bin/python3 screen-reader.py BUILD_DIR LANGUAGE_FILE

Keys go to the program through the accessibility registry, as a user's own keystrokes would.
"""
import csv
import os
import shutil
import subprocess
import sys
import tempfile
import time

import dbus
import gi

gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402

KEY_RETURN, KEY_ESCAPE, KEY_LEFT, KEY_RIGHT, KEY_SHIFT = 0xFF0D, 0xFF1B, 0xFF51, 0xFF53, 0xFFE1


class Failure(Exception):
    pass


def texts_of(language_file):
    """The English texts by id as a screen reader hears them: without & marks and the shortcut
    after a tab (written \\t in the file). The first row of an id wins, as in the program."""
    texts = {}
    with open(language_file, encoding="utf-8", newline="") as rows:
        for row in csv.reader(rows):
            if len(row) > 1 and row[0].startswith("^#") and row[0][2:].isdigit():
                texts.setdefault(int(row[0][2:]), row[1].split("\\t")[0].replace("&", ""))
    return texts


def wait_for(what, probe, timeout=20.0):
    """Polls probe until it returns something true; a vanished object counts as not there yet."""
    end = time.monotonic() + timeout
    while True:
        try:
            found = probe()
        except Exception:  # an object that went away while being read
            found = None
        if found:
            return found
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


def children(node):
    """The children there are: a list view may count rows it then has no cell for."""
    return [c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c is not None] if node else []


def walk(node, depth=0):
    """The node and everything under it, depth-first, as a client walks the tree from a window."""
    yield node
    if depth < 16:
        for child in children(node):
            yield from walk(child, depth + 1)


def find(node, wanted):
    return next((n for n in walk(node) if wanted(n)), None) if node is not None else None


def has(node, state):
    return node.getState().contains(state)


def is_a(role, name=None):
    return lambda node: node.getRole() == role and (name is None or node.name == name)


def action_index(node, name):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if name not in names:
        raise Failure(f"{node.getRoleName()} {node.name!r} offers no {name} action, only {names}")
    return names.index(name)


def dump(node, out, depth=0):
    try:
        states = [pyatspi.stateToString(s) for s in node.getState().getStates()
                  if s in (pyatspi.STATE_FOCUSED, pyatspi.STATE_SHOWING, pyatspi.STATE_SELECTED)]
        out.write(f"{'  ' * depth}[{node.getRoleName()}] {node.name!r} {node.description!r} {states}\n")
        if depth < 10 and node.getRole() != pyatspi.ROLE_MENU_BAR:
            for child in children(node)[:14]:
                dump(child, out, depth + 1)
    except Exception as error:
        out.write(f"{'  ' * depth}({error})\n")


class Program:
    """The program under test and the accessibility bus this client reads it through."""

    def __init__(self, build, work, device):
        env = dict(os.environ, HOME=os.path.join(work, "home"), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_HOME=os.path.join(work, "home", ".config"), VPR40T_PORT_DEVICE=device,
                   ASAN_OPTIONS="detect_leaks=0", LC_ALL="C.UTF-8")  # a decimal point, whatever the machine's
        os.makedirs(env["XDG_CONFIG_HOME"])
        self.stderr = os.path.join(work, "stderr")
        with open(self.stderr, "w") as err:
            self.process = subprocess.Popen([os.path.join(build, "app", "vpr40t")], env=env, stderr=err)
        address = dbus.SessionBus().get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
            dbus_interface="org.a11y.Bus")
        self.bus = dbus.bus.BusConnection(address)
        self.app = wait_for("the program on the accessibility bus", self._find_app, 30)
        self.bus_name = self._bus_name()

    def _find_app(self):
        for app in children(pyatspi.Registry.getDesktop(0)):
            if app is not None and app.get_process_id() == self.process.pid and app.childCount:
                return app
        if self.process.poll() is not None:
            raise SystemExit(f"vpr40t exited with status {self.process.returncode}")
        return None

    def _bus_name(self):
        daemon = self.bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus")
        for name in daemon.ListNames(dbus_interface="org.freedesktop.DBus"):
            if name.startswith(":") and daemon.GetConnectionUnixProcessID(
                    name, dbus_interface="org.freedesktop.DBus") == self.process.pid:
                return name
        raise Failure("the program has no connection to the accessibility bus")

    def windows(self):
        return children(self.app)

    def window(self, what, wanted, timeout=20.0):
        return wait_for(what, lambda: next((w for w in self.windows() if wanted(w)), None), timeout)

    def act(self, node, name):
        """Does an action and waits for the program's answer."""
        node.queryAction().doAction(action_index(node, name))

    def press(self, node, name):
        """Does an action without waiting for the answer: the program answers an action only once
        its handler returns, and one that opens a modal dialog returns when the dialog closes."""
        proxy = self.bus.get_object(self.bus_name, node.path, introspect=False)
        proxy.DoAction(action_index(node, name), dbus_interface="org.a11y.atspi.Action", ignore_reply=True)
        self.bus.flush()

    def menu_item(self, menu, item):
        bar = find(self.windows()[0], is_a(pyatspi.ROLE_MENU_BAR))
        title = next((m for m in children(bar) if m.name == menu), None)
        if title is None:
            raise Failure(f"no menu {menu!r} in {[m.name for m in children(bar)]}")
        entries = children(children(title)[0])
        found = next((e for e in entries if e.name.split("\t")[0] == item), None)
        if found is None:
            raise Failure(f"no item {item!r} in menu {menu!r}: {[e.name for e in entries]}")
        return found

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


def key(sym):
    pyatspi.Registry.generateKeyboardEvent(sym, None, pyatspi.KEY_SYM)


def focused_cell(table):
    cells = table.queryTable()
    for row in range(cells.nRows):
        for column in range(cells.nColumns):
            if has(cells.getAccessibleAt(row, column), pyatspi.STATE_FOCUSED):
                return row, column
    return None


def cell_name(table, row, column):
    return table.queryTable().getAccessibleAt(row, column).name


def focused_editor(view):
    return next((c for c in children(view) if c.getRole() != pyatspi.ROLE_TABLE and
                 has(c, pyatspi.STATE_FOCUSED) and has(c, pyatspi.STATE_SHOWING)), None)


def move_to_column(table, column):
    """Arrow keys along the row until the cell a screen reader announces is in the column."""
    for _ in range(8):
        at = wait_for("a focused cell", lambda: focused_cell(table))
        if at[1] == column:
            return at
        key(KEY_RIGHT if at[1] < column else KEY_LEFT)
        wait_for("the focus to move", lambda: focused_cell(table) != at, 5)
    raise Failure(f"column {column} not reached")


def pick_from_list(program, table, view, column, header, entry=None):
    """Opens the cell's list editor with Return, finds its entries and chooses one by the
    accessibility interface alone. Returns the name of the entry chosen."""
    row, _ = move_to_column(table, column)
    key(KEY_RETURN)
    combo = wait_for(f"the {header} editor", lambda: next(
        (c for c in children(view) if c.getRole() == pyatspi.ROLE_COMBO_BOX and has(c, pyatspi.STATE_SHOWING)
         and has(c, pyatspi.STATE_FOCUSED)), None))
    if combo.description != header:
        raise Failure(f"the editor is described as {combo.description!r}, not by its column {header!r}")
    before = cell_name(table, row, column)
    program.act(combo, "ShowMenu")
    entries = wait_for(f"the {header} list open", lambda: next(
        (c for c in children(combo) if c.getRole() == pyatspi.ROLE_LIST and has(c, pyatspi.STATE_SHOWING)), None))
    items = children(entries)
    names = [item.name for item in items]
    chosen = entry if entry is not None else next(n for n in names if n != before)
    if chosen not in names:
        raise Failure(f"no {chosen!r} among the {header} entries {names[:12]}...")
    program.act(items[names.index(chosen)], "Toggle")
    wait_for(f"the {header} list to close", lambda: not has(entries, pyatspi.STATE_SHOWING))
    wait_for(f"the {header} cell to read {chosen!r}", lambda: cell_name(table, row, column) == chosen, 5)
    if combo.name != chosen:
        raise Failure(f"the editor reads {combo.name!r} after choosing {chosen!r}")
    key(KEY_ESCAPE)
    wait_for("the table to take the focus back", lambda: has(table, pyatspi.STATE_FOCUSED))
    if cell_name(table, row, column) != chosen:
        raise Failure(f"leaving the {header} editor undid the choice")
    return chosen


def program_a_channel(program, texts, saved):
    # A new image: the menu's item, then the question answered.
    program.press(program.menu_item(texts[10003001], texts[10003101]), "Press")
    question = program.window("the question before a new image", is_a(pyatspi.ROLE_ALERT))
    program.act(find(question, is_a(pyatspi.ROLE_PUSH_BUTTON, texts[10002001])), "Press")
    # Keys go to the active window: the main window once the question has gone.
    frame = program.windows()[0]
    wait_for("the main window active", lambda: has(frame, pyatspi.STATE_ACTIVE))
    table = wait_for("the channel view's table", lambda: find(
        frame, lambda n: is_a(pyatspi.ROLE_TABLE, texts[10027012])(n) and has(n, pyatspi.STATE_FOCUSED)))
    view = table.parent

    # The receive frequency: the editor opened with Return, named by its column, its text set as a
    # whole through the editable-text interface, and committed with Return.
    row, column = move_to_column(table, 1)
    key(KEY_RETURN)
    editor = wait_for("the frequency editor", lambda: focused_editor(view))
    if editor.name != texts[10030007] or editor.getRole() != pyatspi.ROLE_TEXT:
        raise Failure(f"the frequency editor is a {editor.getRoleName()} named {editor.name!r}")
    editor.queryEditableText().setTextContents("150.125")
    key(KEY_RETURN)
    wait_for("the frequency in its cell", lambda: cell_name(table, row, 1).startswith("150.125"), 5)

    tone = pick_from_list(program, table, view, 3, texts[10030010], "88.5")
    option = pick_from_list(program, table, view, 5, texts[10030011])

    # Saved through the file dialog, its file name typed into the name field.
    program.press(program.menu_item(texts[10003001], texts[10003104]), "Press")
    dialog = program.window("the save dialog", lambda w: w.getRole() == pyatspi.ROLE_DIALOG)
    name_field = wait_for("the file name field", lambda: find(
        dialog, lambda n: n.getRole() == pyatspi.ROLE_TEXT and has(n, pyatspi.STATE_FOCUSED)))
    name_field.queryEditableText().setTextContents(saved)
    key(KEY_RETURN)
    wait_for("the saved file", lambda: os.path.exists(saved) and
             all(w.getRole() != pyatspi.ROLE_DIALOG for w in program.windows()))
    return row + 1, tone, option


def check_saved_channel(build, saved, channel, tone, option):
    csv_text = subprocess.run([os.path.join(build, "cli", "vpr40t-cli"), "channels", saved, "--csv", "-"],
                              check=True, capture_output=True, text=True,
                              env=dict(os.environ, ASAN_OPTIONS="detect_leaks=0")).stdout
    rows = list(csv.DictReader(csv_text.splitlines()))
    record = next((r for r in rows if r["Channel"] == str(channel)), None)
    if (record is None or float(record["RxFrequency"]) != 150.125 or record["RxTone"] != tone or
            record["OptionA"].lower() != option.lower()):
        raise Failure(f"channel {channel} of the saved file reads {record}")


def read_with_progress(program, texts):
    program.press(program.menu_item(texts[10003004], texts[10003401]), "Press")
    dialog = program.window("the read dialog", lambda w: w.getRole() == pyatspi.ROLE_DIALOG)
    bar = wait_for("the read progress bar", lambda: find(dialog, is_a(pyatspi.ROLE_PROGRESS_BAR)))
    if bar.name != texts[10014001]:
        raise Failure(f"the progress bar is named {bar.name!r}")
    program.press(find(dialog, is_a(pyatspi.ROLE_PUSH_BUTTON, texts[10002005])), "Press")
    seen = set()

    def finished():
        value = bar.queryValue()
        seen.add(value.currentValue)
        return 0 < value.currentValue == value.maximumValue

    wait_for("the read to run to its end", finished, 40)
    if not any(0 < v < max(seen) for v in seen):
        raise Failure(f"the progress bar showed no value on the way: {sorted(seen)}")
    done = program.window("the message that the read is done", is_a(pyatspi.ROLE_ALERT))
    program.act(find(done, is_a(pyatspi.ROLE_PUSH_BUTTON, texts[10002001])), "Press")
    wait_for("the read dialog to close", lambda: all(
        w.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT) for w in program.windows()))


def transmit_indicator(program, texts):
    """The test mode's lamps read as what the radio does, each shown only while it is lit, and the
    Transmit button keys the radio when a client toggles it."""
    program.press(program.menu_item(texts[10003004], texts[10003403]), "Press")
    dialog = program.window("the test mode", is_a(pyatspi.ROLE_DIALOG, texts[10023001]))
    lamps = (texts[10062004], texts[10062002])  # receiving, transmitting

    def only_lit(name):
        return lambda: {n.name for n in walk(dialog) if n.name in lamps and has(n, pyatspi.STATE_SHOWING)} == {name}

    if find(dialog, is_a(pyatspi.ROLE_LABEL, texts[10023003])):
        raise Failure("a label without text reads as the title of its group")
    transmit = find(dialog, is_a(pyatspi.ROLE_CHECK_BOX, texts[10002010]))
    wait_for(f"only {lamps[0]!r} to read as lit", only_lit(lamps[0]))
    program.press(transmit, "Toggle")
    wait_for(f"only {lamps[1]!r} to read as lit", only_lit(lamps[1]))
    if not has(transmit, pyatspi.STATE_CHECKED):
        raise Failure("the Transmit button does not read as pressed while transmitting")
    program.press(transmit, "Toggle")
    wait_for(f"only {lamps[0]!r} to read as lit again", only_lit(lamps[0]))
    program.press(find(dialog, is_a(pyatspi.ROLE_PUSH_BUTTON, texts[10002003])), "Press")
    wait_for("the test mode to close", lambda: all(w.getRole() != pyatspi.ROLE_DIALOG for w in program.windows()))


def main():
    build, language_file = sys.argv[1], sys.argv[2]
    work = os.environ.get("VPR_SCREEN_READER_WORK")
    if work is None:
        # A D-Bus session of its own, whose accessibility bus marks only the display CTest gave
        # this test, with its sockets in a private runtime folder.
        work = tempfile.mkdtemp()
        env = dict(os.environ, VPR_SCREEN_READER_WORK=work, XDG_RUNTIME_DIR=work)
        group = os.environ.get("CTEST_RESOURCE_GROUP_0_DISPLAY", "")  # "id:x<n>,slots:1" is :n
        if group.startswith("id:x"):
            env["DISPLAY"] = ":" + group[4:].split(",")[0]
        try:
            return subprocess.run(["dbus-run-session", "--", sys.executable, *sys.argv], env=env).returncode
        finally:
            shutil.rmtree(work, ignore_errors=True)
    texts = texts_of(language_file)
    radio = program = None
    try:
        # The virtual radio, paced so that a read takes long enough to watch its progress.
        radio = subprocess.Popen([os.path.join(build, "sim", "vpr40t-sim"), "--row", "13", "--program-mode",
                                  "--paced"],
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        device = radio.stdout.readline().strip()
        program = Program(build, work, device)
        # The start-up window takes the first key, as it does a user's, and goes.
        splash = program.window("the start-up window", is_a(pyatspi.ROLE_FILLER))
        key(KEY_SHIFT)
        wait_for("the start-up window to go", lambda: splash not in program.windows())

        saved = os.path.join(work, "channel.dat")
        channel, tone, option = program_a_channel(program, texts, saved)
        check_saved_channel(build, saved, channel, tone, option)
        read_with_progress(program, texts)
        transmit_indicator(program, texts)
        print("A screen reader programmed a channel, followed a read and read the transmit indicator")
        return 0
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        if program is not None:
            for window in program.windows():
                dump(window, sys.stderr)
        return 1
    finally:
        if program is not None:
            program.stop()
            with open(program.stderr) as err:
                sys.stderr.write("".join("  vpr40t: " + line for line in err))
        if radio is not None:
            radio.terminate()
            radio.wait()


if __name__ == "__main__":
    sys.exit(main())
