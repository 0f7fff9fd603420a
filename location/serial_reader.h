// SerialReader: the one serial port of the process to which a GPS receiver is attached. It
// opens and configures the port ("COMn:", mapped to a device by the platform), switches the
// receiver to NMEA output, and runs a reader thread that hands every chunk it reads to the
// owner window. Each step leaves a status word (gps_status.h) that the location setup dialog
// shows.
//
// Chunks reach the owner as posted UM_SERIAL_DATA messages: wParam the byte count, lParam a
// heap copy of the chunk (NUL-terminated, at most 1024 bytes) that the receiver must free with
// FreeSerialChunk. Posting a copy means a Close from the UI thread never waits on a thread that
// waits for the UI thread. The reader never touches a window or the menu bar: the fix
// indicator belongs to the receiver code.
#pragma once

#include <memory>

#include "platform/message_queue.h"
#include "platform/win32_types.h"

class SerialReader {
 public:
  // Makes the process's reader for port `portNumber` (8 data bits, no parity, one stop bit);
  // 1, or -1 when it cannot be had. An existing reader must be destroyed first.
  static int Create(HWND ownerWindow, int portNumber, DWORD baudRate);
  // The process's reader, or null.
  static SerialReader* Instance();
  // Closes the reader when it runs, then frees it.
  static void Destroy();
  // The running flag of the process's reader (false without one).
  static bool IsRunning();

  // Opens and configures the port, sends the receiver set-up and starts the reader thread.
  // False when the reader already runs (nothing changes) or a step fails (port closed, no
  // thread).
  bool Open();
  // Reads what waits in the port's input queue, at most `maximum` bytes. A failing read counts
  // 0; the first one after each Open is told to the owner as UM_SHOW_MESSAGE.
  DWORD ReadAvailable(char* buffer, DWORD maximum);
  // Raises RTS, purges the input queue and writes the bytes, waiting (bounded) until they have
  // left the port; pending output is let out rather than purged, so a write never discards
  // the one before it.
  bool Write(const BYTE* bytes, DWORD count);
  // Stops the reader thread (at once, even while it waits for the port) and closes the port.
  void Close();

  ~SerialReader();

 private:
  SerialReader(HWND ownerWindow, int portNumber, DWORD baudRate);
  struct State;
  std::unique_ptr<State> state_;
};

// Frees a chunk delivered with UM_SERIAL_DATA.
void FreeSerialChunk(LPARAM chunk);
