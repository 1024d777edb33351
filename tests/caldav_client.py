"""An independent CalDAV client, as a phone or another program would be:
  caldav_client.py URL USER PASSWORD add UID SUMMARY   writes a VTODO
  caldav_client.py URL USER PASSWORD list              prints UID|SUMMARY|STATUS
  caldav_client.py URL USER PASSWORD wipe              deletes every VTODO
  caldav_client.py URL USER PASSWORD delete UID        deletes one VTODO
  caldav_client.py URL USER PASSWORD edit UID SUMMARY  gives one VTODO another SUMMARY
  caldav_client.py URL USER PASSWORD parents           prints UID|RELATED-TO
  caldav_client.py URL USER PASSWORD addraw FILE       writes the calendar object in FILE
  caldav_client.py URL USER PASSWORD raw UID           prints one object as the server has it"""
import sys

import caldav


def main():
    url, user, password, command = sys.argv[1:5]
    client = caldav.DAVClient(url=url, username=user, password=password)
    calendars = [c for c in client.principal().calendars()]
    if not calendars:
        print("no calendar")
        return 1
    cal = calendars[0]
    if command == "add":
        uid, summary = sys.argv[5:7]
        cal.save_todo(f"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//client//EN\r\n"
                      f"BEGIN:VTODO\r\nUID:{uid}\r\nDTSTAMP:20261201T100000Z\r\n"
                      f"SUMMARY:{summary}\r\nX-PHONE-ONLY:kept\r\nEND:VTODO\r\nEND:VCALENDAR\r\n")
    elif command == "list":
        for todo in cal.todos(include_completed=True):
            c = todo.icalendar_component
            print(f"{c.get('uid')}|{c.get('summary')}|{c.get('status', '')}|{c.get('x-phone-only', '')}")
    elif command == "delete":
        cal.todo_by_uid(sys.argv[5]).delete()
    elif command == "edit":
        todo = cal.todo_by_uid(sys.argv[5])
        todo.icalendar_component["summary"] = sys.argv[6]
        todo.save()
    elif command == "addraw":
        with open(sys.argv[5], encoding="utf-8") as f:
            cal.save_todo(f.read())
    elif command == "raw":
        sys.stdout.write(cal.todo_by_uid(sys.argv[5]).data)
    elif command == "parents":
        for todo in cal.todos(include_completed=True):
            c = todo.icalendar_component
            print(f"{c.get('uid')}|{c.get('related-to', '')}")
    elif command == "wipe":
        for todo in cal.todos(include_completed=True):
            todo.delete()
    return 0


if __name__ == "__main__":
    sys.exit(main())
