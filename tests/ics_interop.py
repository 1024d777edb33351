#!/usr/bin/python3
"""Reads the program's iCalendar export with Python's icalendar package and
checks each field; then writes the forms other programs use, for the test
to import.  Usage: ics_interop.py OURS.ics THEIRS.ics"""
import sys
from datetime import date, datetime, timedelta, timezone

import icalendar

UTC = timezone.utc


def utc(*args):
    return datetime(*args, tzinfo=UTC)


def check(what, got, want):
    if got != want:
        sys.exit(f"{what}: got {got!r}, want {want!r}")


def read_ours(path):
    with open(path, "rb") as f:
        cal = icalendar.Calendar.from_ical(f.read())
    check("version", str(cal["VERSION"]), "2.0")
    todos = {str(t["UID"]): t for t in cal.walk("VTODO")}
    check("uids", sorted(todos), ["{S}", "{T}"])
    top, sub = todos["{T}"], todos["{S}"]
    # The test runs in Europe/Berlin: local 09:00 in December is 08:00 UTC.
    check("summary", str(top["SUMMARY"]), "Title")
    check("description", str(top["DESCRIPTION"]), "more, text; here")
    check("status", str(top["STATUS"]), "NEEDS-ACTION")
    check("due", top.decoded("DUE"), utc(2026, 12, 24, 8, 0, 0))
    check("created", top.decoded("CREATED"), utc(2026, 3, 29, 0, 59, 59))
    check("last-modified", top.decoded("LAST-MODIFIED"), utc(2026, 10, 25, 2, 30, 1))
    check("dtstamp", top.decoded("DTSTAMP"), utc(2026, 10, 25, 2, 30, 1))
    check("text colour", str(top["X-ZARVIK-TEXT-COLOR"]), "255")
    check("expanded", str(top["X-ZARVIK-EXPANDED"]), "1")
    check("no related-to", "RELATED-TO" in top, False)
    alarms = top.walk("VALARM")
    check("alarms", len(alarms), 1)
    check("alarm action", str(alarms[0]["ACTION"]), "DISPLAY")
    check("alarm trigger", alarms[0].decoded("TRIGGER"), utc(2026, 12, 23, 17, 15, 0))
    check("sub summary", str(sub["SUMMARY"]), "it's done")
    check("sub has no description", "DESCRIPTION" in sub, False)
    check("sub status", str(sub["STATUS"]), "COMPLETED")
    check("sub completed", sub.decoded("COMPLETED"), utc(2027, 1, 2, 2, 4, 5))
    check("sub parent", str(sub["RELATED-TO"]), "{T}")
    check("sub reltype", sub["RELATED-TO"].params.get("RELTYPE"), "PARENT")
    check("sub has no due", "DUE" in sub, False)
    check("sub has no alarm", len(sub.walk("VALARM")), 0)


def write_theirs(path):
    cal = icalendar.Calendar()
    cal.add("prodid", "-//Independent writer//EN")
    cal.add("version", "2.0")

    def todo(uid, summary, **props):
        t = icalendar.Todo()
        t.add("uid", uid)
        t.add("summary", summary)
        t.add("dtstamp", utc(2027, 1, 1, 12, 0, 0))
        for name, value in props.items():
            t.add(name.replace("_", "-"), value)
        cal.add_component(t)
        return t

    def alarm(t, trigger, **params):
        a = icalendar.Alarm()
        a.add("action", "DISPLAY")
        a.add("description", "Reminder")
        a.add("trigger", trigger, parameters=params)
        t.add_component(a)

    p = todo("p", "Parent", description="with notes", due=date(2027, 2, 1))
    alarm(p, timedelta(minutes=-15), RELATED="END")
    todo("c", "Child", related_to="p", status="COMPLETED",
         completed=utc(2027, 1, 10, 8, 0, 0))
    g = icalendar.Todo()
    g.add("uid", "g")
    g.add("summary", "Grandchild")
    g.add("related-to", "c", parameters={"RELTYPE": "PARENT"})
    g.add("percent-complete", 100 - 1)
    cal.add_component(g)
    z = todo("z", "Zoned")
    z.add("due", datetime(2027, 3, 1, 11, 0, 0), parameters={"TZID": "America/New_York"})
    alarm(z, utc(2027, 3, 1, 15, 0, 0))
    with open(path, "wb") as f:
        f.write(cal.to_ical())


read_ours(sys.argv[1])
write_theirs(sys.argv[2])
