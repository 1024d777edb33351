"""What a screen reader hears: walks the running program's accessible tree
over AT-SPI, prints the named controls and fails when a name or a row's
status is missing. Run by atspi_walk.sh under Xvfb and a session bus."""
import sys
import time

import pyatspi


def find_app(timeout):
    end = time.time() + timeout
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app and "tasquel" in (app.name or "").lower():
                return app
        time.sleep(0.3)
    return None


# What each text field holds, by name, as a screen reader reads it.
contents = {}


def walk(node, depth=0, seen=None):
    seen = [] if seen is None else seen
    if depth > 14:
        return seen
    try:
        entry = (node.getRoleName(), node.name or "", node.description or "")
        count = node.childCount
    except Exception:
        return seen
    seen.append(entry)
    if entry[0] == "text":
        try:
            contents[entry[1]] = node.queryText().getText(0, -1)
        except Exception:
            pass
    for i in range(min(count, 60)):
        walk(node.getChildAtIndex(i), depth + 1, seen)
    return seen


def main():
    app = find_app(30)
    if app is None:
        print("the program never came onto the accessibility bus")
        return 1
    seen = []
    # The tree fills after the window shows: walk until the rows are there.
    end = time.time() + 20
    while time.time() < end:
        seen = walk(app)
        if any(name.startswith("Plan the trip") for _, name, _ in seen):
            break
        time.sleep(0.5)
    for role, name, description in seen:
        if name or description:
            print(f"{role}: {name!r} {description!r}")
    wanted = [
        ("tree", "Tasks", None),
        ("text", "Search tasks", None),
        ("push button", "Search", None),
        ("combo box", None, "View Range"),
        (None, "Tip", None),
        ("menu item", "Add Task", None),
        ("menu item", "Copy", None),
        (None, "Plan the trip", "Not complete, reminder "),
        (None, "Return the books", "Complete"),
    ]
    missing = []
    for role, name, description in wanted:
        if not any((role is None or r.startswith(role)) and (name is None or n == name)
                   and (description is None or d.startswith(description))
                   for r, n, d in seen):
            missing.append((role, name, description))
    due = [d for _, n, d in seen if n == "Plan the trip"]
    if due and ", due " not in due[0]:
        missing.append(("row", "Plan the trip", "its due date"))
    # The idle search field shows a hint, which is no content of it.
    if contents.get("Search tasks", "") != "":
        missing.append(("text", "Search tasks", "empty while idle, not %r" % contents["Search tasks"]))
    if not any(n == "Search tasks" and "Search..." in d for _, n, d in seen):
        missing.append(("text", "Search tasks", "its hint in the description"))
    # Shortcut text belongs to no name a screen reader says.
    padded = [n for _, n, _ in seen if "        " in n]
    for item in missing:
        print("missing:", item)
    for name in padded:
        print("shortcut text in a name:", repr(name))
    return 1 if missing or padded else 0


if __name__ == "__main__":
    sys.exit(main())
