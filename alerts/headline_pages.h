// The pages of the headlines viewer as view markup: the index of sources and the headlines of
// one source, each between two navigation bars. Every value from the network is escaped here,
// so a title or a source name can never become a tag or break the page.
//
// A source's page is named after the source itself ("source:" and the name percent-encoded),
// not after its position in the list, so a link on a page already shown still leads to the
// same source when a new source sorts before it.
#pragma once

#include "alerts/headline_store.h"
#include "xml/mstring.h"
#include "xml/wmstring.h"

constexpr const char* kHeadlineIndexPage = "index";
constexpr const char* kHeadlineClosePage = "close";
constexpr const char* kHeadlineNavigationBar =
    "<P><LEFT><A HREF = \"index\">[Index]</A><A HREF = \"close\">[Close]</A></LEFT></P>";

// The page name of a source: plain ASCII, never a web address.
mstring HeadlinePageName(const wmstring& source);
// Whether `url` is an address the browser may open: "http:" or "https:" at its start, in any
// case. Anything else (file:, javascript:, a bare name) is only ever shown as text.
bool IsWebAddress(const mstring& url);

// The list of sources (or the note that none has sent anything).
wmstring HeadlineIndexPage(const MHeadlineStore& store);
// The headlines of one source, oldest first.
wmstring HeadlineSourcePage(const MHeadlineStore::Source& source);
