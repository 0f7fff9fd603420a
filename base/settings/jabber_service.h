// IJabberService: one account per network (the XMPP account and the AIM, ICQ, MSN and
// Yahoo! gateway accounts). The settings store keeps the list; the classes come with the
// service accounts.
#pragma once

#include "platform/message_queue.h"
#include "xml/wmstring.h"

class IJabberService {
 public:
  virtual wmstring GetName() = 0;
  virtual wmstring GetType() = 0;
  virtual void Setup(HWND parent) = 0;
  virtual bool Save() = 0;
  virtual bool Load() = 0;
  virtual wmstring GetServer() = 0;
  virtual wmstring GetUsername() = 0;
  virtual wmstring GetPassword() = 0;
  virtual void SetServer(const wmstring&) {}
  virtual void SetUsername(const wmstring&) {}
  virtual void SetPassword(const wmstring&) {}
  virtual bool GetCreateAccount() { return false; }
  virtual void SetCreateAccount(bool) {}
  virtual bool TakeChanged() = 0;
  virtual wmstring AddUserDialog(HWND parent) = 0;
  virtual bool ValidateAddress(const wmstring& address, wmstring& message) = 0;
  virtual ~IJabberService() = default;
};
