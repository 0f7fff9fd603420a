#include "app/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/app_messages.h"
#include "platform/device_path.h"

namespace {

constexpr int kHandOverSize = kCommandLineSize;
constexpr int kPeerTimeoutMs = 3000;

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 1469598103934665603ULL;
  for (unsigned char c : text) {
    hash = (hash ^ c) * 1099511628211ULL;
  }
  return hash;
}

// The address of the abstract socket (a leading NUL, no file on disk, gone with the process).
socklen_t Address(sockaddr_un* address) {
  std::string name = MSingleInstance::SocketName();
  std::memset(address, 0, sizeof(*address));
  address->sun_family = AF_UNIX;
  std::size_t length = std::min(name.size(), sizeof(address->sun_path) - 1);
  std::memcpy(address->sun_path + 1, name.data(), length);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

// The other end belongs to this user (the name is visible to every user of the machine).
bool SameUser(int socket) {
  ucred peer{};
  socklen_t size = sizeof(peer);
  return getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

bool WaitReadable(int socket, int milliseconds) {
  pollfd entry{socket, POLLIN, 0};
  return poll(&entry, 1, milliseconds) == 1 && (entry.revents & POLLIN) != 0;
}

bool ReadFully(int socket, char* buffer, int size) {
  int done = 0;
  while (done < size) {
    if (!WaitReadable(socket, kPeerTimeoutMs)) {
      return false;
    }
    ssize_t got = read(socket, buffer + done, static_cast<std::size_t>(size - done));
    if (got <= 0) {
      if (got < 0 && errno == EINTR) {
        continue;
      }
      return false;
    }
    done += static_cast<int>(got);
  }
  return true;
}

bool WriteFully(int socket, const char* buffer, int size) {
  int done = 0;
  while (done < size) {
    ssize_t sent = send(socket, buffer + done, static_cast<std::size_t>(size - done), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) {
      continue;
    }
    if (sent <= 0) {
      return false;
    }
    done += static_cast<int>(sent);
  }
  return true;
}

// Sends the command line to the running program and waits for its acknowledgement.
bool HandOver(int socket, const mstring& commandLine) {
  char buffer[kHandOverSize] = {0};
  std::strncpy(buffer, commandLine.c_str(), kHandOverSize - 1);
  char ack = 0;
  return SameUser(socket) && WriteFully(socket, buffer, kHandOverSize) &&
         ReadFully(socket, &ack, 1) && ack == '1';
}

}  // namespace

std::string MSingleInstance::SocketName() {
  char resolved[PATH_MAX];
  std::string home = OrvikHome();
  if (realpath(home.c_str(), resolved) != nullptr) {
    home = resolved;
  }
  char hash[17];
  std::snprintf(hash, sizeof(hash), "%016llx", static_cast<unsigned long long>(Fnv1a(home)));
  return "orvik/" + std::to_string(getuid()) + "/" + hash + "/" + kFrameClassNarrow + "/" +
         kFrameTitleNarrow;
}

MSingleInstance::~MSingleInstance() {
  if (listener_ >= 0) {
    close(listener_);
  }
}

MSingleInstance::Result MSingleInstance::Claim(const mstring& commandLine) {
  sockaddr_un address;
  socklen_t length = Address(&address);
  // Two starts at the same moment: one binds, the other finds it on its next look.
  for (int attempt = 0; attempt < 3; ++attempt) {
    int client = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (client < 0) {
      return Result::Failed;
    }
    if (connect(client, reinterpret_cast<sockaddr*>(&address), length) == 0) {
      bool delivered = HandOver(client, commandLine);
      close(client);
      return delivered ? Result::HandedOver : Result::Failed;
    }
    close(client);
    // Non-blocking, so a caller that gave up between the wake-up and accept() cannot block
    // the listener.
    int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (server < 0) {
      return Result::Failed;
    }
    if (bind(server, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        listen(server, 8) == 0) {
      listener_ = server;
      return Result::First;
    }
    close(server);
    usleep(50 * 1000);
  }
  return Result::Failed;
}

HANDLE MSingleInstance::StartListening(HWND frame, HANDLE shutdown) {
  if (listener_ < 0) {
    return nullptr;
  }
  frame_ = frame;
  shutdown_ = shutdown;
  return CreateThread(ListenLoop, this, nullptr);
}

DWORD MSingleInstance::ListenLoop(void* self) {
  auto* instance = static_cast<MSingleInstance*>(self);
  // One sleep until a second start connects or the program exits.
  while (WaitForSocketOrEvents(instance->listener_, 1, &instance->shutdown_, INFINITE) ==
         WAIT_OBJECT_0 + 1) {
    int connection = accept4(instance->listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) {
      instance->Serve(connection);
      close(connection);
    }
  }
  return 0;
}

void MSingleInstance::Serve(int connection) {
  char buffer[kHandOverSize + 1] = {0};
  if (!SameUser(connection) || !ReadFully(connection, buffer, kHandOverSize)) {
    return;
  }
  buffer[kHandOverSize - 1] = '\0';  // whatever was sent, the text ends inside the buffer
  SendMessage(frame_, UM_BRING_FORWARD, 0, 0);
  COPYDATASTRUCT data{kCommandLineTag, kHandOverSize, buffer};
  SendMessage(frame_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  WriteFully(connection, "1", 1);
}
