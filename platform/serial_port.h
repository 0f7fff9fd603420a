// Serial ports over termios. A port is named as on the handheld ("COM4:"); the name maps to a
// device path through the registry table HKEY_LOCAL_MACHINE\Software\orvik\Serial (one text
// value per port, "COM4:"="/dev/ttyACM0"), with defaults for the devices GPS receivers usually
// appear as: COM1 /dev/ttyS0, COM2-COM3 /dev/ttyUSB0-1, COM4-COM5 /dev/ttyACM0-1, COM6
// /dev/rfcomm0. A value that is present but empty maps the port nowhere.
//
// The port is opened exclusively and in raw mode. Waiting for a port event shares one poll
// with a cancel event, so another thread can end the wait (or a pause) at once: closing a
// reader never waits out a time-out.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>

#include "platform/win32_types.h"

// The n of "COMn:" (all its digits, "COM10:" is 10; the colon may be missing, "com" may be in
// any case), or -1 when `name` is no port name or n is not 1-255.
int SerialPortNumber(const char* name);
// The device path the port maps to, or empty when it maps nowhere.
std::string SerialDevicePath(int portNumber);
// The system's text for the calling thread's last failed port call ("Input/output error").
std::string SerialErrorText();

class SerialPort {
 public:
  enum class Event { kReceived, kError, kCancelled, kOther };

  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the device of `name` for reading and writing, exclusively (a second open of the same
  // device fails while this one is open). False with GetLastError() set on failure:
  // ERROR_FILE_NOT_FOUND for a name that maps nowhere or a device that is not there,
  // ERROR_ACCESS_DENIED when it is in use or not permitted, ERROR_INVALID_PARAMETER when the
  // path is no terminal.
  bool Open(const char* name);
  bool IsOpen() const;
  // Lowers nothing, purges nothing: just releases the device (callers do the rest first).
  // Safe to call twice; the descriptor is closed once.
  void Close();

  // Raw mode at `baudRate` (one of the standard rates), 8 data bits, no parity, one stop bit,
  // no flow control of any kind, receiver on, modem lines ignored. False when the rate is not
  // a standard one or the device refuses the settings.
  bool Configure(DWORD baudRate);
  // Discards what waits in the input queue, the output queue, or both.
  bool Purge(bool input, bool output);
  // Raise or lower DTR and RTS. A device without modem lines (a pty) is not an error.
  bool SetDtr(bool on);
  bool SetRts(bool on);
  // Bytes waiting in the input queue, or -1 (GetLastError() set).
  long BytesAvailable();
  // Reads what is there, at most `maximum` bytes, never blocking: the count (0 when nothing
  // waits), or -1 (GetLastError() set; ERROR_IO_PENDING when the device had nothing after
  // all).
  long Read(void* buffer, std::size_t maximum);
  // Writes every byte, waiting for room at most 100 ms plus 1 ms per byte, then waits
  // (within the same bound) until the bytes have left the port. False on failure or time-out.
  bool Write(const void* bytes, std::size_t count);

  // Waits until a byte arrives, the device fails or hangs up, or CancelWait is called.
  Event WaitEvent();
  // Sleeps up to `milliseconds`; true when CancelWait ended the sleep.
  bool WaitCancelled(DWORD milliseconds);
  // From any thread: ends the current wait and every later one until ResetCancel.
  void CancelWait();
  void ResetCancel();

 private:
  int Descriptor() const;
  bool ModemLine(int line, bool on);
  bool EnsureCancelEvent();

  mutable std::mutex mutex_;
  int fd_ = -1;
  int cancel_ = -1;  // an eventfd; lives as long as the port object, so a cancel is always safe
};
