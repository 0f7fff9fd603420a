#!/usr/bin/python3
"""A server that floods one client with chat messages, for the receive-path benchmark.

Usage: flood_server.py PORT_FILE COUNT ROUNDS
Listens on a free loopback port (written to PORT_FILE), and for each of ROUNDS connections
answers the stream header and sends COUNT chat messages as fast as it can, then waits for the
client to close.
"""
import os
import socket
import sys

HEADER = ("<stream:stream xmlns:stream='http://etherx.jabber.org/streams' xmlns='jabber:client' "
          "from='flood.test' id='f1' version='1.0'><stream:features/>")
MESSAGE = ("<message type='chat' from='bob@flood.test/phone' to='alice@flood.test/orvik' "
           "id='m%d'><body>Message number %d: did you see the news today? It was quite "
           "something &amp; more.</body><thread>t1</thread></message>")


def main():
    port_file, count, rounds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    with open(port_file + ".tmp", "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.rename(port_file + ".tmp", port_file)
    payload = "".join(MESSAGE % (i, i) for i in range(count)).encode()
    for _ in range(rounds):
        conn, _ = listener.accept()
        conn.recv(4096)
        conn.sendall(HEADER.encode())
        conn.sendall(payload)
        try:
            while conn.recv(4096):
                pass
        except OSError:
            pass
        conn.close()


if __name__ == "__main__":
    main()
