// The serial reader: port set-up, the receiver's switch to NMEA output and the reader thread.
#include "location/serial_reader.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>

#include "location/gps_status.h"
#include "location/serial_messages.h"
#include "platform/kernel.h"
#include "platform/message_queue.h"
#include "platform/serial_port.h"
#include "xml/mstring.h"

using serial_messages::UM_SERIAL_DATA;
using serial_messages::UM_SHOW_MESSAGE;

namespace {

constexpr DWORD kChunkSize = 1024;
// The pause after a burst or an unexpected event, so a chattering port cannot keep the
// thread spinning; a Close ends it at once.
constexpr DWORD kPauseMilliseconds = 3000;

// The receiver's binary "switch to NMEA" message: GGA every second, GSA and GSV every five
// seconds, 4800 baud. Sent as start sequence and length, payload, checksum and end sequence.
constexpr BYTE kNmeaSwitch[32] = {
    0xA0, 0xA2, 0x00, 0x18,                          // start, payload length 24
    0x81, 0x02,                                      // message 129, mode
    0x01, 0x01, 0x00, 0x01, 0x05, 0x01, 0x05, 0x01,  // GGA, GLL, GSA, GSV
    0x00, 0x01, 0x00, 0x01,                          // RMC, VTG
    0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01,  // the four further sentences
    0x12, 0xC0,                                      // 4800 baud
    0x01, 0x6A, 0xB0, 0xB3};                         // checksum, end

std::mutex instanceMutex;
SerialReader* instance = nullptr;

}  // namespace

struct SerialReader::State {
  State(HWND owner, int number, DWORD rate)
      : ownerWindow(owner), portNumber(number), baudRate(rate) {}

  const HWND ownerWindow;
  const int portNumber;
  const DWORD baudRate;
  SerialPort port;
  std::atomic<bool> running{false};
  std::atomic<DWORD> threadId{0};
  HANDLE threadHandle = nullptr;  // only the owner's thread touches it
  std::atomic<bool> readErrorShown{false};

  mstring PortName() const {
    char name[16];
    snprintf(name, sizeof name, "COM%d:", portNumber);
    return name;
  }

  static DWORD Run(void* parameter) { return static_cast<State*>(parameter)->Loop(); }

  // The reader never touches a window or the menu bar (the receiver code shows the fix
  // indicator); it only posts to the owner.
  DWORD Loop() {
    threadId = GetCurrentThreadId();
    if (port.IsOpen()) {
      port.SetDtr(true);
      port.SetRts(true);
      SetGpsStatus("WAITING");
      // `running` was set before the thread started, so the first wait always happens: a
      // Close that comes early cancels it and ends the thread the same way as a late one.
      while (HandleEvent(port.WaitEvent()) && running) {
      }
    }
    threadId = 0;
    SetGpsStatus("NOT RUNNING");
    return 0;
  }

  // False when the thread must end.
  bool HandleEvent(SerialPort::Event event) {
    SetGpsStatus("COMM EVENT");
    switch (event) {
      case SerialPort::Event::kReceived:
        ReadBurst();
        SetGpsStatus("READ END");
        port.WaitCancelled(kPauseMilliseconds);
        return true;
      case SerialPort::Event::kError:
      case SerialPort::Event::kCancelled:
        running = false;
        port.Close();
        SetGpsStatus("COMM ERROR");
        return false;
      case SerialPort::Event::kOther:
        break;
    }
    SetGpsStatus("UNKNOWN EVENT");
    port.WaitCancelled(kPauseMilliseconds);
    return true;
  }

  void ReadBurst() {
    SetGpsStatus("READING");
    char buffer[kChunkSize + 1];
    do {
      DWORD count = ReadAvailable(buffer, kChunkSize);
      if (count == 0) {
        break;
      }
      buffer[count] = '\0';
      SetGpsStatus("READ");
      Deliver(buffer, count);
    } while (running);
  }

  // Posted, not sent: the UI thread may be the one closing the reader, waiting for this thread.
  void Deliver(const char* chunk, DWORD count) {
    // A null owner would queue the chunk to this thread, where no one frees it.
    char* copy = ownerWindow != nullptr ? new (std::nothrow) char[count + 1] : nullptr;
    if (copy == nullptr) {
      return;
    }
    memcpy(copy, chunk, count + 1);
    if (!PostMessage(ownerWindow, UM_SERIAL_DATA, count, reinterpret_cast<LPARAM>(copy))) {
      delete[] copy;
    }
  }

  DWORD ReadAvailable(char* buffer, DWORD maximum) {
    if (buffer == nullptr || maximum == 0 || !port.IsOpen()) {
      return 0;
    }
    long waiting = port.BytesAvailable();
    long count = waiting < 0 ? -1 : port.Read(buffer, std::min<long>(waiting, maximum));
    if (count >= 0) {
      return static_cast<DWORD>(count);
    }
    if (GetLastError() != ERROR_IO_PENDING) {
      ReportReadError();
    }
    return 0;
  }

  // Once per Open: a failing port would otherwise stack one box per read.
  void ReportReadError() {
    if (ownerWindow == nullptr || readErrorShown.exchange(true)) {
      return;
    }
    mstring text = PortName() + " " + SerialErrorText().c_str();
    auto* message = new (std::nothrow) mstring(text);
    if (message != nullptr &&
        !PostMessage(ownerWindow, UM_SHOW_MESSAGE, 0, reinterpret_cast<LPARAM>(message))) {
      delete message;
    }
  }

  bool Write(const BYTE* bytes, DWORD count) {
    SetGpsStatus("WRITING");
    // The input queue is purged; the output queue is let out instead (Write waits until its
    // bytes have left), so a write never throws away the one before it.
    bool written = bytes != nullptr && port.IsOpen() && port.SetRts(true) &&
                   port.Purge(true, false) && port.Write(bytes, count);
    SetGpsStatus(written ? "WRITTEN" : "WRITE ERR");
    return written;
  }

  bool Open() {
    if (running) {
      return false;
    }
    JoinThread();
    CloseDevice();
    if (!port.Open(PortName().c_str())) {
      return false;  // the caller tells the user
    }
    port.Purge(true, true);
    if (!port.Configure(baudRate)) {
      port.Close();
      return false;
    }
    port.SetDtr(true);
    port.SetRts(true);
    Write(kNmeaSwitch, 4);
    Write(kNmeaSwitch + 4, 24);
    Write(kNmeaSwitch + 28, 4);
    return StartThread();
  }

  bool StartThread() {
    readErrorShown = false;
    port.ResetCancel();
    running = true;
    threadHandle = CreateThread(Run, this, nullptr);
    if (threadHandle == nullptr) {
      running = false;
      port.Close();
      return false;
    }
    return true;
  }

  void Close() {
    running = false;
    port.CancelWait();
    JoinThread();
    CloseDevice();
  }

  void JoinThread() {
    if (threadHandle == nullptr || GetCurrentThreadId() == threadId) {
      return;
    }
    WaitForSingleObject(threadHandle, INFINITE);
    CloseHandle(threadHandle);
    threadHandle = nullptr;
  }

  void CloseDevice() {
    if (port.IsOpen()) {
      port.SetDtr(false);
      port.Purge(true, true);
      port.Close();
    }
  }
};

SerialReader::SerialReader(HWND ownerWindow, int portNumber, DWORD baudRate)
    : state_(new State(ownerWindow, portNumber, baudRate)) {}

SerialReader::~SerialReader() {
  state_->Close();
}

int SerialReader::Create(HWND ownerWindow, int portNumber, DWORD baudRate) {
  std::lock_guard<std::mutex> lock(instanceMutex);
  if (instance != nullptr) {
    return -1;
  }
  try {
    instance = new SerialReader(ownerWindow, portNumber, baudRate);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  return 1;
}

SerialReader* SerialReader::Instance() {
  std::lock_guard<std::mutex> lock(instanceMutex);
  return instance;
}

void SerialReader::Destroy() {
  SerialReader* reader = nullptr;
  {
    std::lock_guard<std::mutex> lock(instanceMutex);
    std::swap(reader, instance);
  }
  delete reader;  // closes it first
}

bool SerialReader::IsRunning() {
  std::lock_guard<std::mutex> lock(instanceMutex);
  return instance != nullptr && instance->state_->running;
}

bool SerialReader::Open() {
  return state_->Open();
}

DWORD SerialReader::ReadAvailable(char* buffer, DWORD maximum) {
  return state_->ReadAvailable(buffer, maximum);
}

bool SerialReader::Write(const BYTE* bytes, DWORD count) {
  return state_->Write(bytes, count);
}

void SerialReader::Close() {
  state_->Close();
}

void FreeSerialChunk(LPARAM chunk) {
  delete[] reinterpret_cast<char*>(chunk);
}
