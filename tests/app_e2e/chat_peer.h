// A slixmpp chat partner (tests/peers/chat_peer.py) driven from a test: commands go to its
// standard input through a FIFO as JSON lines, and every event it prints (one JSON object per
// line) can be waited for while the program under test keeps running on this thread.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/process_support.h"
#include "platform_qt/display_support.h"

namespace e2e {

using Json = nlohmann::json;

class ChatPeer {
 public:
  ~ChatPeer() {
    if (input_ >= 0) {
      close(input_);
    }
  }

  // Starts the peer as `jid` and waits until it is online.
  bool Start(const std::string& jid, const std::string& password, int port, const std::string& dir,
             const std::vector<std::string>& options = {}) {
    std::string name = jid.substr(0, jid.find('@'));
    std::string fifo = dir + "/" + name + ".in";
    output_ = dir + "/" + name + ".out";
    if (mkfifo(fifo.c_str(), 0600) != 0) {
      return false;
    }
    std::string command = "exec /usr/bin/python3 " + SourceDir() + "/tests/peers/chat_peer.py " +
                          jid + " " + password + " 127.0.0.1 " + std::to_string(port);
    for (const std::string& option : options) {
      command += " '" + option + "'";
    }
    command += " < " + fifo;
    if (!process_.Start({"/bin/sh", "-c", command}, dir, output_)) {
      return false;
    }
    input_ = open(fifo.c_str(), O_WRONLY);  // returns once the peer's shell opened it
    return input_ >= 0 &&
           WaitFor([](const Json& e) { return e["event"] == "ready"; }, 30) != nullptr;
  }

  void Command(const Json& command) {
    std::string line = command.dump() + "\n";
    ssize_t written = write(input_, line.data(), line.size());
    EXPECT_EQ(written, static_cast<ssize_t>(line.size()));
  }
  // Runs a command and waits until the peer reports it done.
  bool Run(const Json& command, double seconds = 20) {
    Command(command);
    std::string name = command[0];
    return WaitFor([&](const Json& e) { return e["event"] == "done" && e["command"] == name; },
                   seconds, doneSeen_[name]++) != nullptr;
  }

  // Every event printed so far.
  std::vector<Json> Events() {
    std::vector<Json> events;
    std::istringstream lines(ReadFile(output_));
    for (std::string line; std::getline(lines, line);) {
      Json event = Json::parse(line, nullptr, false);
      if (!event.is_discarded() && event.is_object()) {
        events.push_back(event);
      }
    }
    return events;
  }
  // The first event that matches, waiting while the program runs; null on time-out. `skip`
  // matching events are passed over first.
  Json WaitFor(const std::function<bool(const Json&)>& match, double seconds = 20, int skip = 0) {
    Json found;
    RunUntil(
        [&] {
          int seen = 0;
          for (const Json& event : Events()) {
            if (match(event) && seen++ == skip) {
              found = event;
              return true;
            }
          }
          return false;
        },
        seconds);
    return found;
  }
  // The first message event with this body.
  Json WaitForMessage(const std::string& body, double seconds = 20) {
    return WaitFor(
        [&](const Json& e) { return e["event"] == "message" && e.value("body", "") == body; },
        seconds);
  }
  std::string Output() { return ReadFile(output_); }

 private:
  ChildProcess process_;
  std::string output_;
  int input_ = -1;
  std::map<std::string, int> doneSeen_;  // "done" events of each command so far
};

}  // namespace e2e
