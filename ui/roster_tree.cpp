#include "ui/roster_tree.h"

#include "ui/roster_images.h"
#include "xml/text_convert.h"

namespace {
constexpr int kTextChars = 512;

}  // namespace

HTREEITEM MRosterTree::Insert(HTREEITEM parent, HTREEITEM after, const wmstring& text, int image,
                              std::unique_ptr<RosterItem> data) {
  TVINSERTSTRUCT insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<WCHAR*>(text.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  insert.item.lParam = reinterpret_cast<LPARAM>(data.get());
  HTREEITEM item = TreeView_InsertItem(tree_, &insert);
  if (item != nullptr) {
    if (parent != TVI_ROOT) {
      byJid_[mstrfold(data->jid.c_str())].push_back(item);
    }
    data_[item] = std::move(data);
  }
  return item;
}

HTREEITEM MRosterTree::FindGroup(const wmstring& group) const {
  for (HTREEITEM item : Groups()) {
    RosterItem* data = Data(item);
    if (data != nullptr && data->name == group) {
      return item;
    }
  }
  return nullptr;
}

HTREEITEM MRosterTree::EnsureGroup(const wmstring& group, HTREEITEM insertAfter) {
  if (HTREEITEM found = FindGroup(group)) {
    return found;
  }
  auto data = std::make_unique<RosterItem>();
  data->name = group;
  data->group = group;
  data->jid = wide_to_utf8(group);
  HTREEITEM item = Insert(TVI_ROOT, insertAfter, group, kGroupExpandedImage, std::move(data));
  Expand(item);
  return item;
}

HTREEITEM MRosterTree::InsertContact(HTREEITEM group, const RosterItem& item, const wmstring& text,
                                     int image) {
  HTREEITEM inserted = Insert(group, TVI_SORT, text, image, std::make_unique<RosterItem>(item));
  Expand(group);
  return inserted;
}

std::vector<HTREEITEM> MRosterTree::Groups() const {
  return Children(TVI_ROOT);
}

std::vector<HTREEITEM> MRosterTree::Children(HTREEITEM group) const {
  std::vector<HTREEITEM> items;
  for (HTREEITEM item = TreeView_GetNextItem(tree_, group, TVGN_CHILD); item != nullptr;
       item = TreeView_GetNextItem(tree_, item, TVGN_NEXT)) {
    items.push_back(item);
  }
  return items;
}

std::vector<HTREEITEM> MRosterTree::ContactItems(const mstring& jid, HTREEITEM group) const {
  std::vector<HTREEITEM> found;
  auto filed = byJid_.find(mstrfold(jid.c_str()));
  if (filed == byJid_.end()) {
    return found;
  }
  for (HTREEITEM item : filed->second) {
    if (group == nullptr || Parent(item) == group) {
      found.push_back(item);
    }
  }
  return found;
}

void MRosterTree::Forget(HTREEITEM item) {
  auto held = data_.find(item);
  if (held == data_.end()) {
    return;
  }
  auto filed = byJid_.find(mstrfold(held->second->jid.c_str()));
  if (filed != byJid_.end()) {
    std::erase(filed->second, item);
    if (filed->second.empty()) {
      byJid_.erase(filed);
    }
  }
  data_.erase(held);
}

RosterItem* MRosterTree::Data(HTREEITEM item) const {
  auto found = data_.find(item);
  return found != data_.end() ? found->second.get() : nullptr;
}

HTREEITEM MRosterTree::Parent(HTREEITEM item) const {
  return TreeView_GetNextItem(tree_, item, TVGN_PARENT);
}

bool MRosterTree::IsGroup(HTREEITEM item) const {
  return item != nullptr && Parent(item) == nullptr;
}

void MRosterTree::SetContact(HTREEITEM item, const RosterItem& data, const wmstring& text,
                             int image) {
  if (RosterItem* held = Data(item)) {
    *held = data;
  }
  TVITEM fields{};
  fields.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  fields.hItem = item;
  fields.pszText = const_cast<WCHAR*>(text.c_str());
  fields.iImage = image;
  fields.iSelectedImage = image;
  SendMessage(tree_, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&fields));
}

void MRosterTree::SetImage(HTREEITEM item, int image) {
  TVITEM fields{};
  fields.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  fields.hItem = item;
  fields.iImage = image;
  fields.iSelectedImage = image;
  SendMessage(tree_, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&fields));
}

wmstring MRosterTree::Text(HTREEITEM item) const {
  WCHAR text[kTextChars] = {};
  TVITEM fields{};
  fields.mask = TVIF_HANDLE | TVIF_TEXT;
  fields.hItem = item;
  fields.pszText = text;
  fields.cchTextMax = kTextChars;
  TreeView_GetItem(tree_, &fields);
  return wmstring(text);
}

int MRosterTree::Image(HTREEITEM item) const {
  TVITEM fields{};
  fields.mask = TVIF_HANDLE | TVIF_IMAGE;
  fields.hItem = item;
  return TreeView_GetItem(tree_, &fields) ? fields.iImage : -1;
}

bool MRosterTree::IsExpanded(HTREEITEM group) const {
  TVITEM fields{};
  fields.mask = TVIF_HANDLE | TVIF_STATE;
  fields.hItem = group;
  fields.stateMask = TVIS_EXPANDED;
  return TreeView_GetItem(tree_, &fields) && (fields.state & TVIS_EXPANDED) != 0;
}

// An expanded group is left as it is: every contact of a long roster expands its group.
void MRosterTree::Expand(HTREEITEM group) {
  if (group != nullptr && !IsExpanded(group)) {
    SendMessage(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(group));
    SetImage(group, kGroupExpandedImage);
  }
}

void MRosterTree::Delete(HTREEITEM item) {
  if (item == nullptr) {
    return;
  }
  for (HTREEITEM child : Children(item)) {
    Forget(child);
  }
  SendMessage(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
  Forget(item);
}

void MRosterTree::DeleteAll() {
  SendMessage(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  data_.clear();
  byJid_.clear();
}

void MRosterTree::ShowRootFirst() {
  HTREEITEM root = TreeView_GetRoot(tree_);
  if (root != nullptr) {
    SendMessage(tree_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(root));
  }
}
