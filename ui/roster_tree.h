// MRosterTree: the roster window's tree view ("JROSTERTREE") as groups and contacts. A group is
// a root item (images 10 collapsed, 11 expanded) whose data names the group; a contact is a
// child of its group whose data is a copy of its RosterItem, owned here and freed when the
// tree reports the item deleted. Texts are plain text: the control shows them as they are.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/controls.h"
#include "roster/roster_item.h"

class MRosterTree {
 public:
  MRosterTree() = default;
  MRosterTree(const MRosterTree&) = delete;
  MRosterTree& operator=(const MRosterTree&) = delete;

  void Attach(HWND tree) { tree_ = tree; }
  HWND Hwnd() const { return tree_; }

  // The group's item, or null.
  HTREEITEM FindGroup(const wmstring& group) const;
  // The group's item, created expanded (sorted by the tree, or at the end) when missing.
  HTREEITEM EnsureGroup(const wmstring& group, HTREEITEM insertAfter = TVI_SORT);
  // A new contact item under `group` (sorted by text) with the offline-or-given image.
  HTREEITEM InsertContact(HTREEITEM group, const RosterItem& item, const wmstring& text, int image);
  // Every contact item of `jid` (ignoring ASCII case), in one group or (null) in all.
  std::vector<HTREEITEM> ContactItems(const mstring& jid, HTREEITEM group = nullptr) const;
  std::vector<HTREEITEM> Groups() const;
  std::vector<HTREEITEM> Children(HTREEITEM group) const;

  // The data of an item: a group's name and jid hold the group name.
  RosterItem* Data(HTREEITEM item) const;
  bool IsGroup(HTREEITEM item) const;
  HTREEITEM Parent(HTREEITEM item) const;
  HTREEITEM Selection() const { return TreeView_GetSelection(tree_); }

  void SetContact(HTREEITEM item, const RosterItem& data, const wmstring& text, int image);
  void SetImage(HTREEITEM item, int image);
  wmstring Text(HTREEITEM item) const;
  int Image(HTREEITEM item) const;
  void Expand(HTREEITEM group);
  bool IsExpanded(HTREEITEM group) const;
  void Delete(HTREEITEM item);
  void DeleteAll();
  void ShowRootFirst();

  // TVN_DELETEITEM: the control let go of an item; its data goes with it.
  void OnDeleted(HTREEITEM item) { Forget(item); }

 private:
  HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, const wmstring& text, int image,
                   std::unique_ptr<RosterItem> data);

  // Drops an item's data and its place in the index.
  void Forget(HTREEITEM item);

  HWND tree_ = nullptr;
  std::map<HTREEITEM, std::unique_ptr<RosterItem>> data_;
  // The contact items of each jid (ASCII letters folded): a presence finds its contact without
  // walking thousands of items.
  std::unordered_map<std::string, std::vector<HTREEITEM>> byJid_;
};
