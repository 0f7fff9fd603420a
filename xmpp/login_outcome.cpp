// How a login ends: complete (roster requested), refused (texts, automatic login off, logout),
// and what follows the roster.
#include <cstdio>

#include "xmpp/iq_tracking.h"
#include "xmpp/negotiation.h"
#include "xmpp/operations.h"
#include "xmpp/session_messages.h"

namespace {

const char* kSetupHint =
    "<p>Check your settings by selecting \"Run Setup Wizard\" from the \"Menu\" menu.</p>";

}  // namespace

void session_report_unreachable(MJabberSession* session, const char* server) {
  IJabberHost* host = session->host;
  jconn* c = session->conn;
  char line[600];
  if (c && c->error_text[0] && c->certificate_refused) {
    std::snprintf(line, sizeof line, "<p>Secure connection refused: %s.</p>", c->error_text);
    host->AppendLog(line);
  }
  std::snprintf(line, sizeof line, "<p>Cannot connect to Jabber server '%s'.</p>",
                server ? server : "");
  host->AppendLog(line);
  host->AppendLog(
      "<P>Check your settings by selecting \"Run Setup Wizard\" from the \"Menu\" menu.</P>");
  session->login_error = LOGIN_ERROR_UNREACHABLE;
  if (host->LoginRequested())
    host->ShowMessageBox(
        "Cannot connect to the Jabber server. Check your settings by selecting \"Run Setup "
        "Wizard\" from the \"Menu\" menu.",
        nullptr);
}

void session_clear_create_account(MJabberSession* session) {
  if (IJabberService* account = session->host->Settings().FindServiceAccount(u"jud"))
    account->SetCreateAccount(false);
  session->create_account = 0;
}

void session_login_complete(MJabberSession* session, bool legacy) {
  IJabberHost* host = session->host;
  MSettings& settings = host->Settings();
  if (legacy) {
    session->state = SESSION_ONLINE;
    session->was_online = true;
    PostMessage(host->MainWindow(), UM_LOGGED_IN, 0, 0);
    session_clear_create_account(session);
    if (settings.loginOnStartup)
      host->SetLoginRequested(false);
  }
  request_roster(session);
  if (host->LoginRequested() && settings.displayNoServicesDbox)
    SetTimer(host->MainWindow(), POST_LOGIN_TIMER_ID, POST_LOGIN_TIMER_MS, nullptr);
}

void session_registration_result(MJabberSession* session) {
  if (session->conn->stream_v1)
    return;
  session_clear_create_account(session);
  session_start_legacy_auth(session);
}

void session_login_refused(MJabberSession* session) {
  IJabberHost* host = session->host;
  host->ClearLog();
  const char* message;
  if (session->create_account) {
    host->AppendLog("<p>ERROR CREATING ACCOUNT.</p>");
    host->AppendLog("<p>THE SPECIFIED ACCOUNT NAME MAY ALREADY BE IN USE.</p>");
    host->AppendLog(
        "<p>Check your settings by selecting \"Run Setup Wizard\" from the \"Menu\" "
        "menu.</p></b>");
    message =
        "Error creating new account. The specified account name may already be in use. Please "
        "choose a different username.";
    if (IJabberService* account = host->Settings().FindServiceAccount(u"jud"))
      account->SetCreateAccount(true);
  } else {
    host->AppendLog("<p>AUTHORIZATION ERROR.</p><p>CHECK USERNAME AND PASSWORD.</p>");
    host->AppendLog(kSetupHint);
    message =
        "Error logging onto your account. Please make sure your password and username are "
        "correct.";
  }
  session->login_error = LOGIN_ERROR_REFUSED;
  host->Settings().SetLoginOnStartup(false);
  host->ShowMessageBox(message, nullptr);
  host->Logout();
}

void session_after_roster(MJabberSession* session) {
  mstring status;
  mstring show;
  session->host->CurrentStatus(&status, &show);
  jab_open_stanzas(session->conn);
  send_own_presence(session, status.c_str(), show.c_str());
  jab_flush_deferred(session->conn);
  request_disco_items(session);
}
