#!/usr/bin/python3
"""A broadcaster of emergency alerts: logs in, sends CAP 1.0 alerts to one address, leaves.

Usage: cap_broadcaster.py JID PASSWORD HOST PORT TO ALERTS_FILE

ALERTS_FILE holds a JSON array; each alert is an object of the alert's own elements (name to
text, in the order given), with "info" an object of the info block's elements and "areas" a
list of area descriptions. Every alert goes out as one message without a type, in order, then the chat line
"sent N alerts".

Events go to stdout, one JSON object a line: {"event":"sent","count":N} once every alert is
out, {"event":"error","error":..} when the login fails.
"""
import asyncio
import json
import logging
import sys
import xml.etree.ElementTree as ET

import slixmpp

CAP = "{http://www.incident.com/cap/1.0}"


def emit(**event):
    sys.stdout.write(json.dumps(event, ensure_ascii=False) + "\n")
    sys.stdout.flush()


def alert_element(alert):
    root = ET.Element(CAP + "alert")
    for name, value in alert.items():
        if name == "info":
            info = ET.SubElement(root, CAP + "info")
            for info_name, info_value in value.items():
                if info_name == "areas":
                    for area_text in info_value:
                        area = ET.SubElement(info, CAP + "area")
                        ET.SubElement(area, CAP + "areaDesc").text = area_text
                else:
                    ET.SubElement(info, CAP + info_name).text = info_value
        else:
            ET.SubElement(root, CAP + name).text = value
    return root


class Broadcaster(slixmpp.ClientXMPP):
    def __init__(self, jid, password, to, alerts):
        super().__init__(jid, password)
        self.to = to
        self.alerts = alerts
        self.add_event_handler("session_start", self.start)
        self.add_event_handler("failed_all_auth", lambda _: self.fail("login refused"))
        self.add_event_handler("connection_failed", lambda _: self.fail("cannot connect"))

    async def start(self, _):
        self.send_presence()
        for alert in self.alerts:
            message = self.make_message(mto=self.to)
            message.xml.append(alert_element(alert))
            message.send()
        # A chat line last: once it arrives, every alert before it has been handled.
        self.send_message(mto=self.to, mbody="sent %d alerts" % len(self.alerts), mtype="chat")
        await asyncio.sleep(1.0)  # the server has everything before the stream closes
        emit(event="sent", count=len(self.alerts))
        self.disconnect()

    def fail(self, why):
        emit(event="error", error=why)
        self.disconnect()


def main():
    logging.basicConfig(level=logging.CRITICAL)
    jid, password, host, port, to, alerts_file = sys.argv[1:7]
    with open(alerts_file, encoding="utf-8") as source:
        alerts = json.load(source)
    peer = Broadcaster(jid, password, to, alerts)
    peer.connect(address=(host, int(port)), force_starttls=False, disable_starttls=True)
    peer.loop.run_until_complete(peer.disconnected)


if __name__ == "__main__":
    main()
