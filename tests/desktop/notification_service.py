"""A desktop notification service on the session bus, for tests: every notification it is asked
to show becomes one JSON line in the record file, and a test can click one by its number.

Usage: notification_service.py RECORD_FILE
Click: dbus-send --session --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
           test.NotificationService.Click uint32:ID
"""
import json
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"


class Service(dbus.service.Object):
    def __init__(self, bus, record):
        super().__init__(bus, PATH)
        self.record = record
        self.last_id = 0

    @dbus.service.method(NAME, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body", "body-markup"]

    @dbus.service.method(NAME, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ["test service", "tests", "1", "1.2"]

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        self.last_id += 1
        entry = {"id": self.last_id, "app": str(app_name), "summary": str(summary),
                 "body": str(body), "actions": [str(a) for a in actions],
                 "desktop_entry": str(hints.get("desktop-entry", ""))}
        with open(self.record, "a", encoding="utf-8") as out:
            out.write(json.dumps(entry) + "\n")
        return self.last_id

    @dbus.service.method(NAME, in_signature="u", out_signature="")
    def CloseNotification(self, notification_id):
        self.NotificationClosed(notification_id, 3)

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, notification_id, action_key):
        pass

    @dbus.service.signal(NAME, signature="uu")
    def NotificationClosed(self, notification_id, reason):
        pass

    @dbus.service.method("test.NotificationService", in_signature="u", out_signature="")
    def Click(self, notification_id):
        self.ActionInvoked(notification_id, "default")
        self.NotificationClosed(notification_id, 2)


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    service = Service(bus, sys.argv[1])
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    assert name
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
