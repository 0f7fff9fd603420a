#!/usr/bin/python3
"""A scripted chat partner: one-to-one chats, conference rooms and presence, driven on stdin.

Usage: chat_peer.py JID PASSWORD HOST PORT [--greet JID TEXT] [--answer] [--room ROOM NICK]
                    [--tls CA_FILE]

Commands arrive on stdin, one a line, as a JSON array (so any text passes exactly):
  ["send", to, body]                 a chat message
  ["sendtype", to, type, body]       a message of any type ("error" carries an error child)
  ["join", room, nick]               join the room, creating it when needed (unlocked at once,
                                     every occupant's real address visible, the subject open
                                     to all)
  ["subject", room, text]            change the room's subject
  ["groupchat", room, body]
  ["pm", room, nick, body]           a private chat message to room/nick
  ["leave", room]
  ["presence", show, status]         own presence ("" as show: plainly available)
  ["wait", seconds]
  ["quit"]
Commands run one after another. When stdin ends the peer stays online until "quit" or a signal.

Events go to stdout, one JSON object a line, flushed:
  {"event":"ready"}                                        once online
  {"event":"message","from":..,"type":..,"body":..}        every message received with a body,
                                                           a subject ("subject") or an error
                                                           ("error": the condition)
  {"event":"invite","room":..,"from":..,"reason":..}       a conference invitation (through
                                                           the room, or direct)
  {"event":"presence","from":..,"type":..,"show":..,"status":..}
                                                           presence from rooms and contacts
                                                           (from a room: "jid", the occupant's
                                                           real address, when the room shows it)
  {"event":"done","command":..}                            after each command
  {"event":"error","command":..,"error":..}                a command that could not run

--greet sends TEXT once JID comes online; --answer replies to every chat message with
"You said: " + body; --room joins ROOM as NICK and stays. Subscription requests are approved.
Without --tls the stream stays plain TCP; --tls requires STARTTLS and trusts CA_FILE.
"""
import argparse
import asyncio
import json
import logging
import sys
import threading

import slixmpp
from slixmpp.xmlstream.handler import Callback
from slixmpp.xmlstream.matcher import MatchXPath

MUC_USER = "{http://jabber.org/protocol/muc#user}"
CONFERENCE = "{jabber:x:conference}"


def emit(**event):
    """One event line; text stays as it is (UTF-8), only JSON escapes apply."""
    sys.stdout.write(json.dumps(event, ensure_ascii=False) + "\n")
    sys.stdout.flush()


class ChatPeer(slixmpp.ClientXMPP):
    def __init__(self, args):
        super().__init__(args.jid, args.password)
        self.args = args
        self.greeted = False
        self.rooms = {}  # room -> own nick
        self.commands = asyncio.Queue()
        for plugin in ("xep_0030", "xep_0004", "xep_0045", "xep_0249", "xep_0199"):
            self.register_plugin(plugin)
        self.add_event_handler("session_start", self.start)
        self.add_event_handler("failed_all_auth", lambda _: self.fail("login refused"))
        self.add_event_handler("connection_failed", lambda _: self.fail("cannot connect"))
        self.register_handler(Callback("peer messages", MatchXPath("{jabber:client}message"),
                                       self.on_message))
        self.register_handler(Callback("peer presence", MatchXPath("{jabber:client}presence"),
                                       self.on_presence))

    async def start(self, _):
        self.send_presence()
        await self.get_roster()
        if self.args.room:
            try:
                await self.join(*self.args.room)
            except Exception as error:
                emit(event="error", command="--room", error=str(error) or type(error).__name__)
        emit(event="ready")
        threading.Thread(target=self.read_stdin, daemon=True).start()
        while True:
            line = await self.commands.get()
            if line is None:
                return
            await self.run_line(line)

    def fail(self, why):
        # The peer ends instead of retrying: the test that started it wants to know.
        emit(event="error", command="login", error=why)
        if not self.disconnected.done():
            self.disconnected.set_result(True)

    def read_stdin(self):
        # A thread, so that any stdin (pipe, file, terminal, /dev/null) works the same way.
        for raw in sys.stdin.buffer:
            self.loop.call_soon_threadsafe(self.commands.put_nowait, raw)

    async def run_line(self, raw):
        text = raw.decode("utf-8", errors="replace").strip()
        if not text:
            return
        try:
            command = json.loads(text)
            if not isinstance(command, list) or not command or not isinstance(command[0], str):
                raise ValueError("a command is a JSON array starting with its name")
            name, arguments = command[0], command[1:]
            handler = getattr(self, "do_" + name, None)
            if handler is None:
                raise ValueError("unknown command " + name)
            await handler(*arguments)
        except Exception as error:  # a bad line is reported; the peer keeps running
            emit(event="error", command=text, error=str(error) or type(error).__name__)
            return
        emit(event="done", command=name)
        if name == "quit":
            self.disconnect()

    async def do_send(self, to, body):
        self.send_message(mto=to, mbody=body, mtype="chat")

    async def do_sendtype(self, to, kind, body):
        message = self.make_message(mto=to, mbody=body, mtype=kind)
        if kind == "error":
            message["error"]["type"] = "cancel"
            message["error"]["condition"] = "service-unavailable"
        message.send()

    async def do_join(self, room, nick):
        await self.join(room, nick)

    async def do_subject(self, room, text):
        self.plugin["xep_0045"].set_subject(room, text)

    async def do_groupchat(self, room, body):
        self.send_message(mto=room, mbody=body, mtype="groupchat")

    async def do_pm(self, room, nick, body):
        self.send_message(mto="%s/%s" % (room, nick), mbody=body, mtype="chat")

    async def do_leave(self, room):
        nick = self.rooms.pop(room, None)
        if nick is None:
            raise ValueError("not in room " + room)
        self.plugin["xep_0045"].leave_muc(room, nick)

    async def do_presence(self, show, status):
        self.send_presence(pshow=show or None, pstatus=status or None)

    async def do_wait(self, seconds):
        await asyncio.sleep(float(seconds))

    async def do_quit(self):
        self.commands.put_nowait(None)

    async def join(self, room, nick):
        presence, _, _, _ = await self.plugin["xep_0045"].join_muc_wait(room, nick, timeout=20)
        if presence["type"] == "error":
            raise ValueError("cannot join %s: %s" % (room, presence["error"]["condition"]))
        self.rooms[room] = nick
        if 201 in presence["muc"]["status_codes"]:
            await self.unlock(room)

    async def unlock(self, room):
        # A new room stays locked until its owner answers the configuration form: the
        # defaults, but with every occupant's real address shown to all and the subject open
        # to every occupant.
        form = await self.plugin["xep_0045"].get_room_config(room)
        wanted = {"muc#roomconfig_whois": "anyone", "muc#roomconfig_changesubject": True}
        fields = form.get_fields()
        for name, value in wanted.items():
            if name in fields:
                fields[name]["value"] = value
        await self.plugin["xep_0045"].set_room_config(room, form)

    def on_message(self, message):
        invite = self.invitation(message)
        if invite is not None:
            emit(event="invite", **invite)
            return
        kind, body, subject = message["type"], message["body"], message["subject"]
        if not body and not subject and kind != "error":
            return  # chat states, receipts and the like
        event = {"from": str(message["from"]), "type": kind, "body": body}
        if subject:
            event["subject"] = subject
        if kind == "error":
            event["error"] = message["error"]["condition"]
        emit(event="message", **event)
        if self.args.answer and kind == "chat" and body:
            self.send_message(mto=message["from"], mbody="You said: " + body, mtype="chat")

    @staticmethod
    def invitation(message):
        xml = message.xml
        mediated = xml.find(MUC_USER + "x/" + MUC_USER + "invite")
        if mediated is not None:
            reason = mediated.find(MUC_USER + "reason")
            return {"room": str(message["from"].bare), "from": mediated.get("from", ""),
                    "reason": (reason.text or "") if reason is not None else ""}
        direct = xml.find(CONFERENCE + "x")
        if direct is not None:
            return {"room": direct.get("jid", ""), "from": str(message["from"]),
                    "reason": direct.get("reason", "")}
        return None

    def on_presence(self, presence):
        sender = presence["from"]
        if sender.bare == self.boundjid.bare:
            return  # our own other resources
        # The stanza's own type ("available" when it has none), whatever its show.
        kind = presence.xml.get("type") or "available"
        event = {"from": str(sender), "type": kind, "show": presence["show"],
                 "status": presence["status"]}
        occupant = presence.xml.find(MUC_USER + "x/" + MUC_USER + "item")
        if occupant is not None and occupant.get("jid"):
            event["jid"] = occupant.get("jid")  # a room that shows real addresses
        emit(event="presence", **event)
        greet = self.args.greet
        if (greet and not self.greeted and kind == "available"
                and sender.bare == slixmpp.JID(greet[0]).bare):
            self.greeted = True
            self.send_message(mto=sender, mbody=greet[1], mtype="chat")


def parse_arguments():
    parser = argparse.ArgumentParser(description="A scripted chat partner.")
    parser.add_argument("jid")
    parser.add_argument("password")
    parser.add_argument("host")
    parser.add_argument("port", type=int)
    parser.add_argument("--greet", nargs=2, metavar=("JID", "TEXT"))
    parser.add_argument("--answer", action="store_true")
    parser.add_argument("--room", nargs=2, metavar=("ROOM", "NICK"))
    parser.add_argument("--tls", metavar="CA_FILE")
    return parser.parse_args()


def main():
    logging.basicConfig(level=logging.CRITICAL)
    args = parse_arguments()
    peer = ChatPeer(args)
    if args.tls:
        peer.ca_certs = args.tls
        peer.connect(address=(args.host, args.port), force_starttls=True)
    else:
        peer.connect(address=(args.host, args.port), force_starttls=False,
                     disable_starttls=True)
    peer.loop.run_until_complete(peer.disconnected)


if __name__ == "__main__":
    main()
