// Stand-in for the serial reader until its own lands in location/: every port can be made but
// none opens, as on a machine without a receiver.
#include <cstdlib>

#include "location/serial_reader.h"

struct SerialReader::State {};

namespace {
SerialReader* instance = nullptr;
}  // namespace

SerialReader::SerialReader(HWND, int, DWORD) : state_(std::make_unique<State>()) {}
SerialReader::~SerialReader() = default;

int SerialReader::Create(HWND ownerWindow, int portNumber, DWORD baudRate) {
  if (instance != nullptr) {
    return -1;
  }
  instance = new SerialReader(ownerWindow, portNumber, baudRate);
  return 1;
}

SerialReader* SerialReader::Instance() {
  return instance;
}

void SerialReader::Destroy() {
  delete instance;
  instance = nullptr;
}

bool SerialReader::IsRunning() {
  return false;
}

bool SerialReader::Open() {
  return false;
}

DWORD SerialReader::ReadAvailable(char*, DWORD) {
  return 0;
}

bool SerialReader::Write(const BYTE*, DWORD) {
  return false;
}

void SerialReader::Close() {}

void FreeSerialChunk(LPARAM chunk) {
  std::free(reinterpret_cast<void*>(chunk));
}
