#!/usr/bin/python3
"""A misbehaving XMPP server for the end-to-end tests: it accepts one client on a loopback
port and then does one bad thing, chosen by the mode:

  garbage    bytes that are not XML after a proper stream header
  doctype    a DOCTYPE with an entity declaration before the stream header
  oversized  a stanza that never ends (megabytes of text in one body)
  zlibbomb   negotiates SASL and compression, then sends compressed data that inflates to a
             huge stanza
  midclose   closes the connection in the middle of a stanza
  silent     accepts the connection and never says anything
  deaf       logs the client in (SASL, bind, an empty roster, every IQ answered), then never
             answers the client's closing tag; prints "client closed the stream" and
             "client hung up"

Usage: hostile_server.py MODE PORT_FILE
It listens on a free port, writes the port number to PORT_FILE and serves one connection.
"""
import socket
import sys
import time
import zlib

HEADER = ("<?xml version='1.0'?><stream:stream xmlns:stream='http://etherx.jabber.org/streams' "
          "xmlns='jabber:client' from='hostile.test' id='h1' version='1.0'>")
FEATURES_PLAIN = ("<stream:features><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
                  "<mechanism>PLAIN</mechanism></mechanisms></stream:features>")
FEATURES_COMPRESS = ("<stream:features><compression xmlns='http://jabber.org/features/compress'>"
                     "<method>zlib</method></compression>"
                     "<bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/></stream:features>")


def read_until(conn, marker, limit=65536):
    data = b""
    while marker not in data and len(data) < limit:
        chunk = conn.recv(4096)
        if not chunk:
            break
        data += chunk
    return data


def send_slowly(conn, data, piece=4096):
    for start in range(0, len(data), piece):
        conn.sendall(data[start:start + piece])


FEATURES_BIND = ("<stream:features><bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'/>"
                 "</stream:features>")


def answer_iqs_until_close(conn):
    """Answers each IQ with an empty result (bind with the full JID) until the client's
    closing tag, then reads until the client hangs up without ever answering."""
    data = b""
    while b"</stream:stream>" not in data:
        chunk = conn.recv(4096)
        if not chunk:
            return
        data += chunk
        while b"<iq" in data and b"</iq>" in data[data.index(b"<iq"):]:
            start = data.index(b"<iq")
            end = data.index(b"</iq>", start)
            iq, data = data[start:end + 5], data[end + 5:]
            iq_id = iq.split(b"id='", 1)[1].split(b"'", 1)[0] if b"id='" in iq else b""
            payload = b""
            if b"xmpp-bind" in iq:
                payload = (b"<bind xmlns='urn:ietf:params:xml:ns:xmpp-bind'>"
                           b"<jid>alice@hostile.test/orvik</jid></bind>")
            elif b"jabber:iq:roster" in iq:
                payload = b"<query xmlns='jabber:iq:roster'/>"
            conn.sendall(b"<iq type='result' id='" + iq_id + b"'>" + payload + b"</iq>")
    print("client closed the stream", flush=True)
    while conn.recv(4096):
        pass
    print("client hung up", flush=True)


def serve(mode, conn):
    read_until(conn, b">")
    if mode == "deaf":
        conn.sendall((HEADER + FEATURES_PLAIN).encode())
        read_until(conn, b"</auth>")
        conn.sendall(b"<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>")
        read_until(conn, b"<stream:stream")
        conn.sendall((HEADER + FEATURES_BIND).encode())
        answer_iqs_until_close(conn)
        return
    if mode == "silent":
        while conn.recv(4096):
            pass
        return
    if mode == "doctype":
        conn.sendall(b"<?xml version='1.0'?><!DOCTYPE lol [<!ENTITY lol 'lol'>]>" +
                     HEADER.encode()[len("<?xml version='1.0'?>"):])
    elif mode == "garbage":
        conn.sendall(HEADER.encode() + b"\x00\xff\xfe<<<>>> &&& not xml at all")
    elif mode == "oversized":
        conn.sendall(HEADER.encode() + b"<message><body>")
        try:
            for _ in range(64):
                conn.sendall(b"a" * 65536)
        except OSError:
            pass
    elif mode == "midclose":
        conn.sendall(HEADER.encode() + b"<message from='x@hostile.test'><body>half a sta")
        time.sleep(0.2)
        return
    elif mode == "zlibbomb":
        conn.sendall((HEADER + FEATURES_PLAIN).encode())
        read_until(conn, b"</auth>")
        conn.sendall(b"<success xmlns='urn:ietf:params:xml:ns:xmpp-sasl'/>")
        read_until(conn, b"<stream:stream")
        conn.sendall((HEADER + FEATURES_COMPRESS).encode())
        read_until(conn, b"</compress>")
        conn.sendall(b"<compressed xmlns='http://jabber.org/protocol/compress'/>")
        conn.recv(4096)  # the compressed stream header
        deflate = zlib.compressobj(9)
        bomb = deflate.compress(HEADER.encode() + b"<message><body>")
        bomb += deflate.flush(zlib.Z_SYNC_FLUSH)
        try:
            conn.sendall(bomb)
            block = b"a" * (1 << 20)
            for _ in range(200):
                packed = deflate.compress(block) + deflate.flush(zlib.Z_SYNC_FLUSH)
                send_slowly(conn, packed)
        except OSError:
            pass
    # Wait for the client to go away.
    conn.settimeout(15)
    try:
        while conn.recv(4096):
            pass
    except OSError:
        pass


def main():
    mode, port_file = sys.argv[1], sys.argv[2]
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    with open(port_file + ".tmp", "w") as f:
        f.write(str(listener.getsockname()[1]))
    import os
    os.rename(port_file + ".tmp", port_file)
    conn, _ = listener.accept()
    try:
        serve(mode, conn)
    except OSError:
        pass
    conn.close()


if __name__ == "__main__":
    main()
