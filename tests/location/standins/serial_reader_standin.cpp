// Stand-in for the serial reader while its real source is not in the tree: none runs.
#include "location/serial_reader.h"

bool SerialReader::IsRunning() {
  return false;
}
