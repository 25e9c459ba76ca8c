"""Listens to the program as a screen reader does, over the accessibility bus.

Run by screen_reader_session.sh, which starts a virtual display and the bus.
Starts the program (given as the first argument) in es_MX once per case,
types into it with xdotool as a person would, and checks what a screen
reader is told: the window and the inputs by name, the new key announced
with its explanation and warnings, and the context menus in Spanish, whose
"Copiar clave sin guiones" puts the bare key on the clipboard.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

LLAVE = sys.argv[1]
failures = []
events = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def pump(seconds, until=None):
    """Delivers the bus's events for up to `seconds`, or until `until()`."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        if until and until():
            return True
        time.sleep(0.02)
    return bool(until and until())


def record(event):
    try:
        events.append((event.type, event.source.getRoleName(), event.source.name, event.source))
    except Exception:  # the source may be gone already
        pass


for kind in ("object:state-changed:showing", "object:property-change:accessible-description",
             "object:text-changed:insert"):
    pyatspi.Registry.registerEventListener(record, kind)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def clipboard():
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                          text=True).stdout


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


class Program:
    """The program running in es_MX (or LLAVE_LANG), its window focused, its accessible tree at hand."""

    def __init__(self):
        # LLAVE_LANG: a desktop in another locale, where the window speaks Spanish all the same.
        env = dict(os.environ, LANG=os.environ.get("LLAVE_LANG", "es_MX.UTF-8"),
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        env.pop("LC_ALL", None)
        self.process = subprocess.Popen([LLAVE], env=env, stderr=subprocess.DEVNULL)
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                                 str(self.process.pid)], capture_output=True, text=True,
                                timeout=20).stdout.split()[0]
        xdotool("windowfocus", "--sync", window)
        self.window_id = window
        self.app = None
        pump(10, self.find_app)
        if self.app is None:
            raise SystemExit("the program never showed up on the accessibility bus")

    def find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid:
                self.app = app
                return True
        return False

    def window(self):
        return self.app.getChildAtIndex(0)

    def named(self, name, role=None):
        for node in descendants(self.window()):
            if node.name == name and (role is None or node.getRoleName() == role):
                return node
        return None

    def result(self):
        return self.named("CURP", "text")

    def calculate(self, *keys):
        """Types each step (text, or "key:NAME ..." for keys), then Enter; returns
        the result's text and description once the new key is announced."""
        events.clear()
        for step in keys:
            if step.startswith("key:"):
                xdotool("key", *step[4:].split())
            else:
                type_text(step)
        xdotool("key", "Return")
        announced = pump(5, lambda: any(e[2] == "CURP" and e[0].startswith(
            "object:property-change:accessible-description") for e in events))
        check(announced, "the new key's explanation is announced")
        check(any(e[2] == "CURP" and e[0].startswith("object:text-changed") for e in events),
              "the new key's text is announced")
        result = self.result()
        text = result.queryText()
        return text.getText(0, text.characterCount), result.description

    def context_menu(self, name, role):
        """Opens the context menu of the control named `name` with the menu key
        and returns its entries (name -> accessible), the menu still open."""
        events.clear()
        self.named(name, role).queryComponent().grabFocus()
        pump(0.3)
        xdotool("key", "Menu")

        def shown():
            return any(e[0] == "object:state-changed:showing" and e[1] == "popup menu"
                       for e in events)

        check(pump(5, shown), f"the context menu of {name} opens")
        menus = [e[3] for e in events if e[0] == "object:state-changed:showing"
                 and e[1] == "popup menu"]
        entries = {}
        if menus:
            for node in descendants(menus[-1]):
                if node.getRoleName() == "menu item" and node.name:
                    entries[node.name] = node
        return entries

    def close(self):
        self.process.terminate()
        self.process.wait(10)


ENGLISH_CALENDAR = {"January", "February", "March", "April", "May", "June", "July", "August",
                    "September", "October", "November", "December", "Previous", "Next",
                    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
                    "Sunday", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun", "Week"}
ENGLISH = {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All", "Step up",
           "Step down", "What's This?"}

# Names and roles, and the lists' names whatever entry is chosen.
program = Program()
window = program.window()
check(window.getRoleName() == "frame" and window.name == "Generación de CURP",
      f"the window is a frame named by its caption ({window.getRoleName()}: {window.name})")
for name, role in (("Apellido paterno", "text"), ("Apellido materno", "text"),
                   ("Nombre(s)", "text"), ("Fecha de nacimiento", "spin button"),
                   ("Sexo", "combo box"), ("Entidad de nacimiento", "combo box"),
                   ("CURP", "text"), ("Calcular", "push button")):
    check(program.named(name, role) is not None, f"{role} named {name!r}")
# The window's place as the display has it, at any scale (QT_SCALE_FACTOR).
shown = dict(line.split("=") for line in subprocess.run(
    ["xdotool", "getwindowgeometry", "--shell", program.window_id], capture_output=True,
    text=True).stdout.split())
told = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
check((told.x, told.y, told.width, told.height) == tuple(int(shown[key]) for key in
                                                         ("X", "Y", "WIDTH", "HEIGHT")),
      f"the window's place: {told} where the display has {shown}")

# No state chosen: the key is incomplete, and the explanation says what to do.
key, description = program.calculate("gomez", "key:Tab", "diaz", "key:Tab", "juan")
check("entidad" in description, f"no state: {description!r} asks for the state")
# The sex list keeps its name when another entry is chosen.
xdotool("key", "Tab", "Tab", "f")
pump(0.5)
sex = program.named("Sexo", "combo box")
check(sex is not None, "the sex list is still named 'Sexo' after 'f'")
if sex is not None:
    entries = sex.getChildAtIndex(0).queryTable()
    rows = entries.getSelectedRows()
    chosen = entries.getAccessibleAt(rows[0], 0) if rows else None
    check(chosen is not None and chosen.name == "1:Femenino",
          f"its chosen entry: {chosen.name if chosen else None!r}")
program.close()

# A typical person: the explanation names where each piece came from.
program = Program()
key, description = program.calculate("gomez", "key:Tab", "diaz", "key:Tab", "juan",
                                     "key:Tab Tab Tab", "df")
check(key == "GODJ-800101-H-DF-MZN-0-2", f"the key shown: {key!r}")
for words in ("GOMEZ", "DIAZ", "JUAN", "800101: fecha de nacimiento", "www.gob.mx/curp"):
    check(words in description, f"the explanation holds {words!r}")

# Context menus in Spanish; the result's offers the bare key.
for name, role in (("Apellido paterno", "text"), ("Fecha de nacimiento", "spin button"),
                   ("CURP", "text")):
    entries = program.context_menu(name, role)
    english = ENGLISH & {entry.split("\t")[0].replace("&", "") for entry in entries}
    check(entries and not english, f"the menu of {name} in Spanish: {sorted(entries)}")
    if name == "CURP":
        copy = entries.get("Copiar clave sin guiones")
        check(copy is not None, "the result's menu offers 'Copiar clave sin guiones'")
        if copy is not None:
            copy.queryAction().doAction(0)
            pump(5, lambda: clipboard() == "GODJ800101HDFMZN02")
            check(clipboard() == "GODJ800101HDFMZN02", f"the bare key copied: {clipboard()!r}")
    xdotool("key", "Escape")
    pump(0.3)

# The calendar, opened from the keyboard, speaks Spanish too.
events.clear()
program.named("Fecha de nacimiento", "spin button").queryComponent().grabFocus()
pump(0.3)
xdotool("key", "F4")


def calendar_shown():
    return [e[3] for e in events if e[0] == "object:state-changed:showing" and e[2] == "Calendario"]


check(pump(5, calendar_shown), "the calendar opens on F4")
calendar = calendar_shown()
if calendar:
    said = {node.name for node in descendants(calendar[-1]) if node.name}
    english = {word for word in said if word.split()[0] in ENGLISH_CALENDAR}
    check({"enero", "Mes anterior", "Mes siguiente"} <= said and not english,
          f"the calendar and its arrows named in Spanish ({len(said)} names)"
          + (f"; English: {sorted(english)}" if english else ""))
xdotool("key", "Escape")
pump(0.3)
program.close()

# Accented names: read as the registry writes them, and the explanation says so.
# (It used to ask for names without accents.)
program = Program()
key, description = program.calculate("gómez", "key:Tab", "díaz", "key:Tab", "juan",
                                     "key:Tab Tab Tab", "df")
check("MZN" in key and "Ó de GÓMEZ cuenta como O" in description,
      f"accents: {key!r} {description!r}")
program.close()

# Born in 2005, typed with a two-digit year: position 17 is a letter.
program = Program()
key, description = program.calculate("gomez", "key:Tab", "diaz", "key:Tab", "juan", "key:Tab",
                                     "09/03/05", "key:Tab Tab", "df")
check("050309" in key and key.endswith("-A-5") and "2000" in description,
      f"born 2005: {key!r} {description!r}")
program.close()

print(f"{len(failures)} failures" if failures else "every check passed", flush=True)
sys.exit(1 if failures else 0)
