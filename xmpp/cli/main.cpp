// orvik-xmpp: the session engine on the command line. Logs in, prints the log window's lines
// and every packet the dispatcher would get, optionally sends one chat message, and logs out.
//
//   orvik-xmpp --server example.org --user alice --password secret [--port 5222] [--register]
//              [--encrypt] [--compress] [--to bob@example.org --message "hello"]
//              [--seconds 10] [--debug]
//
// Settings come from the registry of $ORVIK_HOME (proxy, "KEEPALIVE PERIOD", the TLS values
// of "Software\orvik\TLS"); the options above override them for this run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "xml/packet.h"
#include "xmpp/headless_host.h"
#include "xmpp/operations.h"
#include "xmpp/session_loop.h"

namespace {

struct Options {
  std::string server, user, password, to, message;
  int port = 0;
  int seconds = 10;
  bool create = false, encrypt = false, compress = false, debug = false;
};

void usage() {
  std::fprintf(stderr,
               "usage: orvik-xmpp --server HOST --user NAME --password TEXT [--port N] "
               "[--register] [--encrypt] [--compress] [--to JID --message TEXT] "
               "[--seconds N] [--debug]\n");
}

bool parse(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc)
        return false;
      *out = argv[++i];
      return true;
    };
    std::string number;
    if (option == "--server" && value(&options->server))
      continue;
    if (option == "--user" && value(&options->user))
      continue;
    if (option == "--password" && value(&options->password))
      continue;
    if (option == "--to" && value(&options->to))
      continue;
    if (option == "--message" && value(&options->message))
      continue;
    if (option == "--port" && value(&number)) {
      options->port = std::atoi(number.c_str());
      continue;
    }
    if (option == "--seconds" && value(&number)) {
      options->seconds = std::atoi(number.c_str());
      continue;
    }
    if (option == "--register") {
      options->create = true;
      continue;
    }
    if (option == "--encrypt") {
      options->encrypt = true;
      continue;
    }
    if (option == "--compress") {
      options->compress = true;
      continue;
    }
    if (option == "--debug") {
      options->debug = true;
      continue;
    }
    return false;
  }
  return !options->server.empty() && !options->user.empty();
}

// The log window's HTML fragments as plain lines.
std::string plain(const std::string& html) {
  std::string text;
  bool in_tag = false;
  for (char c : html) {
    if (c == '<')
      in_tag = true;
    else if (c == '>')
      in_tag = false;
    else if (!in_tag)
      text += c;
  }
  return text;
}

void print_new_lines(HeadlessHost& host, size_t* printed) {
  std::vector<std::string> lines = host.LogLines();
  for (size_t i = *printed; i < lines.size(); ++i)
    std::printf("log: %s\n", plain(lines[i]).c_str());
  *printed = lines.size() < *printed ? 0 : lines.size();
  for (const std::string& box : host.MessageBoxes())
    std::printf("message box: %s\n", box.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, &options)) {
    usage();
    return 2;
  }
  HeadlessHost host;
  MSettings& settings = host.Settings();
  settings.encryptSessions = settings.encryptSessions || options.encrypt;
  settings.debugMode = settings.debugMode || options.debug;
  host.compression = options.compress;
  int port = options.port ? options.port : (settings.encryptSessions ? 5223 : 5222);
  host.onDispatch = [](packet* p) {
    const char* text = xml_node_to_string(p->x);
    std::printf("packet: %s\n", text ? text : "");
  };

  host.StartLogin(options.server.c_str(), options.user.c_str(), options.password.c_str(), port,
                  options.create);
  size_t printed = 0;
  MJabberSession* session = host.session();
  bool online =
      host.PumpUntil([&] { return host.roster_results() > 0 || host.LoginThreadDone(); }, 15000);
  print_new_lines(host, &printed);
  online = online && host.roster_results() > 0;
  if (online) {
    std::printf("online as %s, %d roster items\n", session_own_address(session).c_str(),
                host.roster_items());
    if (!options.to.empty())
      send_chat(session, options.to.c_str(), options.message.c_str());
    host.PumpFor(options.seconds * 1000);
  }
  host.Logout();
  host.WaitLoginThread(5000);
  print_new_lines(host, &printed);
  return online ? 0 : 1;
}
