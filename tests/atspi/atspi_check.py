#!/usr/bin/python3
# What a screen reader reads of the program, through the desktop's accessibility bus
# (AT-SPI) rather than through Qt's own interfaces. The desktop program runs on a fresh
# folder, on an X server of its own with the accessibility bus. The check presses
# "Administrare", checks that the message that comes (no password yet) is announced as a
# screen reader hears it (its window activated, the keyboard on its button, its text
# readable), presses its "OK", checks that the keyboard goes back to the button that
# opened it, and fails on a button, field, grid or choice without a name in the windows
# it read.
#   dbus-run-session -- atspi_check.py FOCARIS
# Every wait is for an event or a state, with a wide bound for a loaded computer.
import os
import signal
import subprocess
import sys
import tempfile
import time

import gi
gi.require_version("Atspi", "2.0")
import pyatspi  # noqa: E402
from gi.repository import GLib  # noqa: E402

BOUND = 120  # seconds: only reached when something is wrong
NAMED_ROLES = {"push button", "toggle button", "check box", "radio button", "combo box", "text",
               "password text", "spin button", "table", "tree table", "list", "menu item",
               "page tab", "slider", "entry"}

# Pressing a button whose handler opens a window blocks the bus call until that window
# closes, so a second process presses it while this one watches.
ACT = """
import sys, pyatspi
title, button, text = sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None
def find(node, test):
    for child in node:
        if child is None:
            continue
        if test(child):
            return child
        found = find(child, test)
        if found is not None:
            return found
for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == 'Foc_aris':
        for window in app:
            if window is not None and window.name.startswith(title):
                if text is not None:
                    field = find(window, lambda c: c.getRoleName() in ('text', 'password text'))
                    field.queryEditableText().setTextContents(text)
                target = find(window, lambda c: c.getRoleName() == 'push button' and c.name.replace('&', '') == button)
                try:
                    target.queryAction().doAction(0)
                except Exception:
                    pass
                sys.exit(0)
"""


def wait_for(what, check):
    end = time.monotonic() + BOUND
    while time.monotonic() < end:
        # The accessibility library learns of new applications and windows from events,
        # which only the main loop delivers.
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        found = check()
        if found:
            return found
        time.sleep(0.1)
    raise SystemExit(f"atspi: timed out waiting for {what}")


def stop_x(server):
    # Ended so that it removes its lock file and socket, which a server killed outright
    # leaves behind for the next one to find.
    server.terminate()
    try:
        server.wait(timeout=30)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()


def start_x():
    read, write = os.pipe()
    # -noreset: a server resets when its last client leaves (the bus launcher leaves after
    # setting its address on the root window), and a program that connects during the
    # reset is refused; that was the program never seen on the bus on a loaded computer.
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 16)
        if not chunk:
            raise SystemExit("atspi: Xvfb did not start")
        number += chunk
    os.close(read)
    return server, ":" + number.decode().strip()


def walk(node, found):
    """The showing controls under node, as (role, name, focused)."""
    try:
        role, name, state = node.getRoleName(), node.name, node.getState()
    except GLib.Error:
        return found
    if role in NAMED_ROLES and state.contains(pyatspi.STATE_SHOWING):
        found.append((role, name, state.contains(pyatspi.STATE_FOCUSED)))
    for child in node:
        if child is not None:
            walk(child, found)
    return found


def texts_of(node, found):
    for child in node:
        if child is None:
            continue
        if child.getRoleName() == "label" and child.name.strip():
            found.append(child.name.strip())
        texts_of(child, found)
    return found


def main():
    focaris = sys.argv[1]
    server, display = start_x()
    os.environ["DISPLAY"] = display
    home = tempfile.mkdtemp(prefix="focaris-atspi-")
    # The accessibility bus puts its socket in the runtime folder: one of its own, so that
    # two runs at once never share a bus.
    os.environ["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="runtime-", dir=home)
    # The bus and the registry it starts form a process group of their own, ended whole
    # at the end so that nothing keeps running (or keeps the test's output open).
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    # The program looks for the accessibility bus once, when it starts: it must be there.
    def bus_ready():
        reply = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                                "/org/a11y/bus", "org.a11y.Bus.GetAddress"], capture_output=True)
        return reply.returncode == 0 and b"unix:" in reply.stdout

    # The program runs once per user; a user name of its own keeps another copy of it
    # started by hand or by another test from answering in its place.
    env = dict(os.environ, FOCARIS_HOME=home, QT_QPA_PLATFORM="xcb", USER=f"atspi-{os.getpid()}",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    log = open(os.path.join(home, "focaris.log"), "w")
    program = None
    actors = []
    failures = []

    def act(title, button, text=None):
        actors.append(subprocess.Popen([sys.executable, "-c", ACT, title, button] +
                                       ([text] if text is not None else [])))

    try:
        wait_for("the accessibility bus", bus_ready)
        program = subprocess.Popen([focaris], env=env, stdout=log, stderr=subprocess.STDOUT)
        def on_bus():
            if program.poll() is not None:
                raise SystemExit(f"atspi: the program ended (status {program.returncode}) before it reached "
                                 "the accessibility bus")
            return next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "Foc_aris"), None)

        app = wait_for("the program on the accessibility bus", on_bus)

        def window(title, needed):
            for w in app:
                if w is not None and w.name.startswith(title) and \
                        any(name.replace("&", "") == needed for _, name, _ in walk(w, [])):
                    return w
            return None

        main_window = wait_for("the main window", lambda: window("Foc aris  ver", "Administrare"))
        controls = walk(main_window, [])

        # "Administrare" on a computer without a password: the message that says so.
        heard = []

        def on_event(event):
            try:
                heard.append((event.type, event.source.getRoleName(), event.source.name))
            except GLib.Error:
                pass

        for kind in ("window:activate", "focus:"):
            pyatspi.Registry.registerEventListener(on_event, kind)
        end = time.monotonic() + BOUND

        def listening():
            message = [n for t, _, n in heard if t == "window:activate" and n != main_window.name]
            focused = any(t == "focus:" and role == "push button" for t, role, _ in heard)
            if (message and focused) or time.monotonic() > end:
                pyatspi.Registry.stop()
                return False
            return True

        act("Foc aris  ver", "Administrare")
        GLib.timeout_add(100, listening)
        pyatspi.Registry.start()
        messages = [n for t, _, n in heard if t == "window:activate" and n != main_window.name]
        if not messages:
            raise SystemExit(f"atspi: no message window was announced; heard {heard}")
        shown = wait_for("the message window", lambda: next(
            (w for w in app if w is not None and w.name == messages[0]), None))
        texts = texts_of(shown, [])
        print(f"atspi: the message \"{messages[0]}\" was announced with {texts}")
        if not texts:
            failures.append("the message window has no text a screen reader can read")
        if not any(t == "focus:" and role == "push button" for t, role, _ in heard):
            failures.append("the keyboard did not go to the message's button")
        controls += walk(shown, [])

        # Its "OK" opens the administration's buttons on the main window, and the keyboard
        # goes back to the button that opened the message.
        act(messages[0], "OK")

        def back_in_main():
            found = walk(main_window, [])
            focused = [name for _, name, f in found if f]
            if focused == ["Administrare"] and any(name == "Cereri" for _, name, _ in found):
                return found
            return None

        controls += wait_for("the keyboard back on \"Administrare\"", back_in_main)
        print("atspi: after the message the keyboard is back on \"Administrare\"")
        unnamed = [role for role, name, _ in controls if not name.replace("&", "").strip()]
        print(f"atspi: {len(controls)} controls read, {len(unnamed)} without a name")
        if unnamed:
            failures.append(f"controls without a name: {unnamed}")
    except SystemExit as stop:
        log.flush()
        with open(os.path.join(home, "focaris.log")) as text:
            print(text.read()[-2000:])
        failures.append(str(stop))
    finally:
        for actor in actors:
            actor.kill()
        if program is not None:
            program.kill()
            program.wait()
        os.killpg(bus.pid, signal.SIGKILL)
        stop_x(server)
        subprocess.run(["rm", "-rf", home])
    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
