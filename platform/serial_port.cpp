// A serial device over termios: open, configure, modem lines, queues, reads, writes and a
// cancellable event wait.
#include "platform/serial_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <string.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

namespace {

thread_local int lastErrno = 0;

// Remembers errno for SerialErrorText and sets the handheld's nearest error code.
void Fail(int error) {
  lastErrno = error;
  switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
      SetLastError(ERROR_FILE_NOT_FOUND);
      break;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
      SetLastError(ERROR_ACCESS_DENIED);
      break;
    case ENOTTY:
    case EINVAL:
      SetLastError(ERROR_INVALID_PARAMETER);
      break;
    case ETIMEDOUT:
      SetLastError(ERROR_TIMEOUT);
      break;
    default:
      SetLastError(ERROR_READ_FAULT);
  }
}

bool BaudConstant(DWORD baudRate, speed_t* speed) {
  static const struct {
    DWORD rate;
    speed_t speed;
  } kRates[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},    {9600, B9600},
                {19200, B19200},   {38400, B38400},   {57600, B57600},  {115200, B115200},
                {230400, B230400}, {460800, B460800}, {921600, B921600}};
  for (const auto& entry : kRates) {
    if (entry.rate == baudRate) {
      *speed = entry.speed;
      return true;
    }
  }
  return false;
}

// Milliseconds left until `end`, at least 0.
int MillisecondsLeft(std::chrono::steady_clock::time_point end) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

std::string SerialErrorText() {
  return strerror(lastErrno);
}

SerialPort::~SerialPort() {
  Close();
  if (cancel_ >= 0) {
    ::close(cancel_);
  }
}

bool SerialPort::EnsureCancelEvent() {
  if (cancel_ < 0) {
    cancel_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  }
  return cancel_ >= 0;
}

bool SerialPort::Open(const char* name) {
  std::string path = SerialDevicePath(SerialPortNumber(name));
  std::lock_guard<std::mutex> lock(mutex_);
  if (fd_ >= 0) {
    Fail(EBUSY);
    return false;
  }
  if (path.empty()) {
    Fail(ENOENT);
    return false;
  }
  if (!EnsureCancelEvent()) {
    Fail(errno);
    return false;
  }
  // Non-blocking, so neither a missing carrier nor an empty queue can hang a caller.
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Fail(errno);
    return false;
  }
  // TIOCEXCL keeps other programs out; the lock also keeps out a second open by this program
  // (and by privileged ones, which TIOCEXCL lets through).
  int error = 0;
  if (!isatty(fd)) {
    error = ENOTTY;
  } else if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::close(fd);
    Fail(error);
    return false;
  }
  fd_ = fd;
  return true;
}

bool SerialPort::IsOpen() const {
  return Descriptor() >= 0;
}

int SerialPort::Descriptor() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fd_;
}

void SerialPort::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (fd_ >= 0) {
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);  // also drops the lock
    fd_ = -1;
  }
}

bool SerialPort::Configure(DWORD baudRate) {
  std::lock_guard<std::mutex> lock(mutex_);
  termios state{};
  speed_t speed = B0;
  if (!BaudConstant(baudRate, &speed)) {
    Fail(EINVAL);
    return false;
  }
  if (fd_ < 0 || tcgetattr(fd_, &state) != 0) {
    Fail(fd_ < 0 ? EBADF : errno);
    return false;
  }
  cfmakeraw(&state);  // binary: no parity check, no stripping, no translation, no XON/XOFF
  state.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  state.c_cflag |= CS8 | CREAD | CLOCAL;
  state.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  state.c_cc[VMIN] = 0;
  state.c_cc[VTIME] = 0;
  if (cfsetispeed(&state, speed) != 0 || cfsetospeed(&state, speed) != 0 ||
      tcsetattr(fd_, TCSANOW, &state) != 0) {
    Fail(errno);
    return false;
  }
  return true;
}

bool SerialPort::Purge(bool input, bool output) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!input && !output) {
    return true;
  }
  int queue = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
  if (fd_ < 0 || tcflush(fd_, queue) != 0) {
    Fail(fd_ < 0 ? EBADF : errno);
    return false;
  }
  return true;
}

bool SerialPort::ModemLine(int line, bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (fd_ < 0) {
    Fail(EBADF);
    return false;
  }
  if (ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) != 0) {
    // A pty has no modem lines; refusing them is how it says so.
    if (errno == ENOTTY || errno == EINVAL) {
      return true;
    }
    Fail(errno);
    return false;
  }
  return true;
}

bool SerialPort::SetDtr(bool on) {
  return ModemLine(TIOCM_DTR, on);
}

bool SerialPort::SetRts(bool on) {
  return ModemLine(TIOCM_RTS, on);
}

long SerialPort::BytesAvailable() {
  std::lock_guard<std::mutex> lock(mutex_);
  int count = 0;
  if (fd_ < 0 || ioctl(fd_, FIONREAD, &count) != 0) {
    Fail(fd_ < 0 ? EBADF : errno);
    return -1;
  }
  return count;
}

long SerialPort::Read(void* buffer, std::size_t maximum) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (fd_ < 0) {
    Fail(EBADF);
    return -1;
  }
  if (maximum == 0) {
    return 0;
  }
  ssize_t count = ::read(fd_, buffer, maximum);
  if (count < 0) {
    int error = errno;
    Fail(error);
    if (error == EAGAIN) {
      SetLastError(ERROR_IO_PENDING);
    }
    return -1;
  }
  return static_cast<long>(count);
}

bool SerialPort::Write(const void* bytes, std::size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (fd_ < 0) {
    Fail(EBADF);
    return false;
  }
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(100 + count);
  const char* next = static_cast<const char*>(bytes);
  std::size_t left = count;
  while (left > 0) {
    ssize_t written = ::write(fd_, next, left);
    if (written > 0) {
      next += written;
      left -= static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EINTR) {
      Fail(errno);
      return false;
    }
    pollfd room{fd_, POLLOUT, 0};
    if (MillisecondsLeft(end) == 0 || poll(&room, 1, MillisecondsLeft(end)) < 0) {
      Fail(ETIMEDOUT);
      return false;
    }
  }
  // Let the bytes leave before anyone purges the output queue.
  int pending = 0;
  while (ioctl(fd_, TIOCOUTQ, &pending) == 0 && pending > 0) {
    if (MillisecondsLeft(end) == 0) {
      Fail(ETIMEDOUT);
      return false;
    }
    usleep(1000);
  }
  return true;
}

SerialPort::Event SerialPort::WaitEvent() {
  int fd = Descriptor();
  if (fd < 0) {
    return Event::kError;
  }
  pollfd watched[2] = {{cancel_, POLLIN, 0}, {fd, POLLIN | POLLPRI, 0}};
  int ready = 0;
  do {
    ready = poll(watched, 2, -1);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) {
    Fail(errno);
    return Event::kError;
  }
  if (watched[0].revents != 0) {
    return Event::kCancelled;
  }
  short events = watched[1].revents;
  // A hung-up device still reads as readable: what it sent before hanging up comes first.
  if (events & (POLLHUP | POLLERR | POLLNVAL)) {
    int waiting = 0;
    if ((events & POLLNVAL) || ioctl(fd, FIONREAD, &waiting) != 0 || waiting == 0) {
      Fail(events & POLLNVAL ? EBADF : EIO);
      return Event::kError;
    }
  }
  return events & POLLIN ? Event::kReceived : Event::kOther;
}

bool SerialPort::WaitCancelled(DWORD milliseconds) {
  pollfd watched{cancel_, POLLIN, 0};
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  int ready = 0;
  do {
    ready = poll(&watched, 1, MillisecondsLeft(end));
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

void SerialPort::CancelWait() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (EnsureCancelEvent()) {
    eventfd_write(cancel_, 1);
  }
}

void SerialPort::ResetCancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  eventfd_t ignored = 0;
  if (cancel_ >= 0) {
    eventfd_read(cancel_, &ignored);
  }
}
