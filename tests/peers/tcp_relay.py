#!/usr/bin/python3
"""A TCP relay whose link the caller cuts and restores with signals, for the soak run.

Usage: tcp_relay.py LISTEN_PORT TARGET_PORT
Relays every connection to 127.0.0.1:LISTEN_PORT to 127.0.0.1:TARGET_PORT.
SIGUSR1 cuts the link: every relayed connection is closed at once (bytes not yet relayed are
dropped, as on a real cut) and new connections are refused until SIGUSR2 restores it.
Prints "ready" once listening, "cut" and "restored" as it happens, flushed.
"""
import asyncio
import signal
import sys


class Relay:
    def __init__(self, listen_port, target_port):
        self.listen_port, self.target_port = listen_port, target_port
        self.server = None
        self.writers = set()

    async def listen(self):
        self.server = await asyncio.start_server(self.accept, "127.0.0.1", self.listen_port,
                                                 reuse_address=True)

    async def accept(self, reader, writer):
        try:
            up_reader, up_writer = await asyncio.open_connection("127.0.0.1", self.target_port)
        except OSError:
            writer.close()
            return
        pair = {writer, up_writer}
        self.writers |= pair
        await asyncio.gather(self.pipe(reader, up_writer), self.pipe(up_reader, writer))
        self.writers -= pair

    async def pipe(self, reader, writer):
        try:
            while data := await reader.read(65536):
                writer.write(data)
                await writer.drain()
        except (OSError, asyncio.IncompleteReadError):
            pass
        finally:
            writer.close()

    def cut(self):
        if self.server:
            self.server.close()
            self.server = None
        for writer in list(self.writers):
            writer.transport.abort()
        self.writers.clear()
        print("cut", flush=True)

    async def restore(self):
        if not self.server:
            await self.listen()
        print("restored", flush=True)


async def main():
    relay = Relay(int(sys.argv[1]), int(sys.argv[2]))
    await relay.listen()
    loop = asyncio.get_running_loop()
    loop.add_signal_handler(signal.SIGUSR1, relay.cut)
    loop.add_signal_handler(signal.SIGUSR2, lambda: asyncio.ensure_future(relay.restore()))
    print("ready", flush=True)
    await asyncio.Event().wait()


if __name__ == "__main__":
    asyncio.run(main())
