// The external voice application: handing it a contact's address, and answering a contact
// who asks for ours.
#include <cstdio>

#include "platform/process.h"
#include "xmpp/iq_tracking.h"
#include "xmpp/stanza_send.h"

namespace {

const char kProgram[] = "\\Program Files\\Brightwave Telo\\telo.exe";
const char kCannotLaunch[] = "Cannot launch Brightwave Telo(tm). Please reinstall Telo.";

void start_program(MJabberSession* session, const char* command_line) {
  if (!CreateProcess(kProgram, command_line))
    session->host->ShowMessageBox(kCannotLaunch, nullptr);
}

}  // namespace

void phone_launch(MJabberSession* session, const char* host, const char* contact) {
  mstring chosen;
  if (!host || !*host) {
    chosen = session->host->AskCallHost(contact ? contact : "");
    if (chosen.empty())
      return;
    host = chosen.c_str();
  }
  char line[600];
  std::snprintf(line, sizeof line, "\"\\Program Files\\Brightwave Telo\\telo.exe -i %s\"", host);
  start_program(session, line);
}

void answer_remoteip_request(MJabberSession* session, const char* from, const char* id) {
  if (!session || !session->conn)
    return;
  start_program(session, "\"\\Program Files\\Brightwave Telo\\telo.exe -a\"");
  jab_send_remoteip_result(session->conn, from, id);
  jab_flush_deferred(session->conn);
}
