// The connection's byte transport: plain socket or TLS, under the connection's io_lock.
// Internal to the connection code.
#pragma once

#include <cstddef>

struct jconn;

enum { IO_CLOSED = 0, IO_ERROR = -1, IO_WOULD_BLOCK = -2, IO_NOT_WRITABLE = -3 };

// Reads what is there (at most `size` bytes): the count, IO_CLOSED at the end of the stream,
// IO_ERROR, or IO_WOULD_BLOCK when nothing can be read yet.
int io_read(jconn* c, char* buffer, size_t size);
// Writes all `length` bytes. The socket must become writable within `first_wait_us`
// (IO_NOT_WRITABLE otherwise, nothing written); once the first byte is out, the rest is
// written whatever it takes (up to a generous bound), because a stanza cut in half would
// break the stream. 0 when written, IO_ERROR when the connection failed.
int io_write(jconn* c, const char* data, size_t length, int first_wait_us);
// True when the socket accepts bytes within `wait_us`.
bool io_writable(jconn* c, int wait_us);
// Closes the socket and the TLS channel (with its closing alert when `notify`); fd becomes -1.
void io_close(jconn* c, bool notify);
