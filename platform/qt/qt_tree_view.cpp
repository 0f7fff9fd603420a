// The tree view control over QTreeWidget: items with text, images from an image list and item
// data; sorted insertion; expand and collapse; selection; scrolling an item into view; and the
// notifications its parent gets (double click, Enter, selection changed, expanding and
// expanded, deleted items, tap and hold as a right click).
#include <QHeaderView>
#include <QTreeWidget>
#include <unordered_set>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_images.h"

const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));

namespace {

constexpr int kDataRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kSelectedImageRole = Qt::UserRole + 3;

class TreeWidget : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::unordered_set<QTreeWidgetItem*> items;  // the live items: a handle must be one of them
  HIMAGELIST images = nullptr;
  // Where the last walk through siblings stood: Qt finds an item's index by a linear search,
  // so walking a group of n contacts item by item would cost n * n / 2 steps. Any insertion or
  // deletion forgets it.
  QTreeWidgetItem* walkedItem = nullptr;
  int walkedIndex = -1;
};

TreeWidget* TreeOf(const QtWindow* state) {
  return dynamic_cast<TreeWidget*>(state->widget.data());
}

QTreeWidgetItem* ItemOf(TreeWidget* tree, HTREEITEM handle) {
  auto* item = reinterpret_cast<QTreeWidgetItem*>(handle);
  return tree->items.count(item) != 0 ? item : nullptr;
}

HTREEITEM HandleOf(QTreeWidgetItem* item) {
  return reinterpret_cast<HTREEITEM>(item);
}

void ApplyIcon(TreeWidget* tree, QTreeWidgetItem* item) {
  int image = item->data(0, kImageRole).toInt();
  if (tree->images != nullptr && image >= 0 &&
      image < static_cast<int>(tree->images->images.size())) {
    item->setIcon(0, QIcon(tree->images->images[static_cast<std::size_t>(image)]));
  } else {
    item->setIcon(0, QIcon());
  }
}

void FillNotifyItem(QTreeWidgetItem* item, TVITEM* out) {
  *out = TVITEM{};
  if (item != nullptr) {
    out->mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
    out->hItem = HandleOf(item);
    out->lParam = static_cast<LPARAM>(item->data(0, kDataRole).toLongLong());
    out->state = item->isExpanded() ? TVIS_EXPANDED : 0;
  }
}

LRESULT NotifyTree(QtWindow* state, UINT code, QTreeWidgetItem* newItem,
                   QTreeWidgetItem* oldItem = nullptr, UINT action = 0) {
  NMTREEVIEW notice{};
  notice.hdr.code = code;
  notice.action = action;
  FillNotifyItem(newItem, &notice.itemNew);
  FillNotifyItem(oldItem, &notice.itemOld);
  return NotifyParent(state, &notice.hdr);
}

void SetItem(TreeWidget* tree, QTreeWidgetItem* item, const TVITEM& fields) {
  if ((fields.mask & TVIF_TEXT) != 0 && fields.pszText != nullptr) {
    item->setText(0, ToQString(fields.pszText));
  }
  if ((fields.mask & TVIF_PARAM) != 0) {
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(fields.lParam));
  }
  if ((fields.mask & TVIF_IMAGE) != 0) {
    item->setData(0, kImageRole, fields.iImage);
    ApplyIcon(tree, item);
  }
  if ((fields.mask & TVIF_SELECTEDIMAGE) != 0) {
    item->setData(0, kSelectedImageRole, fields.iSelectedImage);
  }
  if ((fields.mask & TVIF_STATE) != 0 && (fields.stateMask & TVIS_EXPANDED) != 0) {
    item->setExpanded((fields.state & TVIS_EXPANDED) != 0);
  }
}

int ChildCount(TreeWidget* tree, QTreeWidgetItem* parent) {
  return parent != nullptr ? parent->childCount() : tree->topLevelItemCount();
}

QTreeWidgetItem* ChildAt(TreeWidget* tree, QTreeWidgetItem* parent, int index) {
  return parent != nullptr ? parent->child(index) : tree->topLevelItem(index);
}

int IndexIn(TreeWidget* tree, QTreeWidgetItem* item) {
  if (item == tree->walkedItem) {
    return tree->walkedIndex;
  }
  QTreeWidgetItem* parent = item->parent();
  return parent != nullptr ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item);
}

void ForgetWalk(TreeWidget* tree) {
  tree->walkedItem = nullptr;
  tree->walkedIndex = -1;
}

// Where a new item goes among sorted siblings: after every sibling whose text is not greater
// (ignoring case). A binary search: the siblings are kept in that order.
int SortedPosition(TreeWidget* tree, QTreeWidgetItem* parent, const QString& text) {
  int low = 0;
  int high = ChildCount(tree, parent);
  while (low < high) {
    int middle = low + (high - low) / 2;
    if (ChildAt(tree, parent, middle)->text(0).compare(text, Qt::CaseInsensitive) <= 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

HTREEITEM Insert(TreeWidget* tree, const TVINSERTSTRUCT* insert) {
  if (insert == nullptr) {
    return nullptr;
  }
  QTreeWidgetItem* parent = nullptr;
  if (insert->hParent != nullptr && insert->hParent != TVI_ROOT) {
    parent = ItemOf(tree, insert->hParent);
    if (parent == nullptr) {
      return nullptr;
    }
  }
  auto* item = new QTreeWidgetItem;
  item->setData(0, kImageRole, 0);
  SetItem(tree, item, insert->item);
  int count = ChildCount(tree, parent);
  int position = count;
  HTREEITEM after = insert->hInsertAfter;
  if (after == TVI_FIRST) {
    position = 0;
  } else if (after == TVI_SORT) {
    position = SortedPosition(tree, parent, item->text(0));
  } else if (after != TVI_LAST && after != nullptr) {
    QTreeWidgetItem* sibling = ItemOf(tree, after);
    if (sibling != nullptr && sibling->parent() == parent) {
      position = IndexIn(tree, sibling) + 1;
    }
  }
  ForgetWalk(tree);
  if (parent != nullptr) {
    parent->insertChild(position, item);
  } else {
    tree->insertTopLevelItem(position, item);
  }
  tree->items.insert(item);
  ApplyIcon(tree, item);
  return HandleOf(item);
}

void Forget(QtWindow* state, TreeWidget* tree, QTreeWidgetItem* item) {
  for (int i = 0; i < item->childCount(); ++i) {
    Forget(state, tree, item->child(i));
  }
  NotifyTree(state, TVN_DELETEITEM, nullptr, item);
  tree->items.erase(item);
}

BOOL Delete(QtWindow* state, TreeWidget* tree, HTREEITEM handle) {
  QSignalBlocker quiet(tree);
  ForgetWalk(tree);
  if (handle == nullptr || handle == TVI_ROOT) {
    while (tree->topLevelItemCount() > 0) {
      QTreeWidgetItem* item = tree->topLevelItem(0);
      Forget(state, tree, item);
      delete tree->takeTopLevelItem(0);
    }
    return TRUE;
  }
  QTreeWidgetItem* item = ItemOf(tree, handle);
  if (item == nullptr) {
    return FALSE;
  }
  Forget(state, tree, item);
  delete item;
  return TRUE;
}

HTREEITEM Next(TreeWidget* tree, HTREEITEM handle, UINT code) {
  QTreeWidgetItem* item = ItemOf(tree, handle);
  switch (code) {
    case TVGN_ROOT:
      return HandleOf(tree->topLevelItem(0));
    case TVGN_CARET:
      return HandleOf(tree->currentItem());
    case TVGN_FIRSTVISIBLE:
      return HandleOf(tree->itemAt(0, 0));
    case TVGN_CHILD:
      if (handle == nullptr || handle == TVI_ROOT) {
        return HandleOf(tree->topLevelItem(0));
      }
      return item != nullptr ? HandleOf(item->child(0)) : nullptr;
    case TVGN_PARENT:
      return item != nullptr ? HandleOf(item->parent()) : nullptr;
    case TVGN_NEXT:
    case TVGN_PREVIOUS: {
      if (item == nullptr) {
        return nullptr;
      }
      int index = IndexIn(tree, item) + (code == TVGN_NEXT ? 1 : -1);
      QTreeWidgetItem* parent = item->parent();
      if (index < 0 || index >= ChildCount(tree, parent)) {
        return nullptr;
      }
      QTreeWidgetItem* sibling = ChildAt(tree, parent, index);
      tree->walkedItem = sibling;
      tree->walkedIndex = index;
      return HandleOf(sibling);
    }
    default:
      return nullptr;
  }
}

BOOL GetItem(TreeWidget* tree, TVITEM* fields) {
  QTreeWidgetItem* item = fields != nullptr ? ItemOf(tree, fields->hItem) : nullptr;
  if (item == nullptr) {
    return FALSE;
  }
  if ((fields->mask & TVIF_TEXT) != 0) {
    CopyToBuffer(item->text(0), fields->pszText, fields->cchTextMax);
  }
  if ((fields->mask & TVIF_PARAM) != 0) {
    fields->lParam = static_cast<LPARAM>(item->data(0, kDataRole).toLongLong());
  }
  if ((fields->mask & TVIF_IMAGE) != 0) {
    fields->iImage = item->data(0, kImageRole).toInt();
  }
  if ((fields->mask & TVIF_SELECTEDIMAGE) != 0) {
    fields->iSelectedImage = item->data(0, kSelectedImageRole).toInt();
  }
  if ((fields->mask & TVIF_STATE) != 0) {
    fields->state = (item->isExpanded() ? TVIS_EXPANDED : 0) |
                    (tree->currentItem() == item ? TVIS_SELECTED : 0);
  }
  if ((fields->mask & TVIF_CHILDREN) != 0) {
    fields->cChildren = item->childCount();
  }
  return TRUE;
}

void Expand(TreeWidget* tree, QTreeWidgetItem* item, UINT how) {
  QSignalBlocker quiet(tree);  // as on the handheld, asking for it notifies nobody
  bool expand = how == TVE_EXPAND || (how == TVE_TOGGLE && !item->isExpanded());
  item->setExpanded(expand);
}

}  // namespace

QWidget* MakeTreeWidget(QtWindow* state, QWidget* parent) {
  auto* tree = new TreeWidget(parent);
  tree->setColumnCount(1);
  tree->header()->hide();
  tree->setRootIsDecorated((state->style & (TVS_HASBUTTONS | TVS_LINESATROOT)) != 0);
  tree->setContextMenuPolicy(Qt::CustomContextMenu);
  tree->setExpandsOnDoubleClick(false);
  QObject::connect(tree, &QTreeWidget::itemDoubleClicked, [state](QTreeWidgetItem*, int) {
    NMHDR notice{nullptr, 0, NM_DBLCLK};
    NotifyParent(state, &notice);
  });
  QObject::connect(tree, &QTreeWidget::currentItemChanged,
                   [state](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                     NotifyTree(state, TVN_SELCHANGED, now, before);
                   });
  auto expanded = [state](QTreeWidgetItem* item, UINT action) {
    NotifyTree(state, TVN_ITEMEXPANDING, item, nullptr, action);
    NotifyTree(state, TVN_ITEMEXPANDED, item, nullptr, action);
  };
  QObject::connect(tree, &QTreeWidget::itemExpanded,
                   [expanded](QTreeWidgetItem* item) { expanded(item, TVE_EXPAND); });
  QObject::connect(tree, &QTreeWidget::itemCollapsed,
                   [expanded](QTreeWidgetItem* item) { expanded(item, TVE_COLLAPSE); });
  QObject::connect(tree, &QWidget::customContextMenuRequested, [state, tree](const QPoint& at) {
    if (QTreeWidgetItem* item = tree->itemAt(at)) {
      tree->setCurrentItem(item);
    }
    QPoint global = tree->viewport()->mapToGlobal(at);
    NMRGINFO notice{};
    notice.hdr.code = GN_CONTEXTMENU;
    notice.ptAction = POINT{global.x(), global.y()};
    NotifyParent(state, &notice.hdr);
  });
  return tree;
}

bool TreeMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  TreeWidget* tree = TreeOf(state);
  if (tree == nullptr) {
    return false;
  }
  auto handle = reinterpret_cast<HTREEITEM>(lParam);
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        NMHDR notice{nullptr, 0, NM_RETURN};
        NotifyParent(state, &notice);
        *result = 0;
        return true;
      }
      return false;
    case TVM_INSERTITEM:
      *result = reinterpret_cast<LRESULT>(Insert(tree, reinterpret_cast<TVINSERTSTRUCT*>(lParam)));
      return true;
    case TVM_DELETEITEM:
      *result = Delete(state, tree, handle);
      return true;
    case TVM_EXPAND:
      if (QTreeWidgetItem* item = ItemOf(tree, handle)) {
        Expand(tree, item, static_cast<UINT>(wParam));
        *result = TRUE;
      } else {
        *result = FALSE;
      }
      return true;
    case TVM_GETCOUNT:
      *result = static_cast<LRESULT>(tree->items.size());
      return true;
    case TVM_SETIMAGELIST: {
      HIMAGELIST previous = tree->images;
      tree->images = reinterpret_cast<HIMAGELIST>(lParam);
      if (tree->images != nullptr) {
        tree->setIconSize(QSize(tree->images->width, tree->images->height));
      }
      for (QTreeWidgetItem* item : tree->items) {
        ApplyIcon(tree, item);
      }
      *result = reinterpret_cast<LRESULT>(previous);
      return true;
    }
    case TVM_GETNEXTITEM:
      *result = reinterpret_cast<LRESULT>(Next(tree, handle, static_cast<UINT>(wParam)));
      return true;
    case TVM_SELECTITEM: {
      QTreeWidgetItem* item = ItemOf(tree, handle);
      if (wParam == TVGN_FIRSTVISIBLE) {
        if (item != nullptr) {
          tree->scrollToItem(item, QAbstractItemView::PositionAtTop);
        }
      } else {
        tree->setCurrentItem(item);
      }
      *result = item != nullptr || handle == nullptr ? TRUE : FALSE;
      return true;
    }
    case TVM_ENSUREVISIBLE:
      if (QTreeWidgetItem* item = ItemOf(tree, handle)) {
        tree->scrollToItem(item);
      }
      *result = TRUE;
      return true;
    case TVM_GETITEM:
      *result = GetItem(tree, reinterpret_cast<TVITEM*>(lParam));
      return true;
    case TVM_SETITEM: {
      auto* fields = reinterpret_cast<TVITEM*>(lParam);
      QTreeWidgetItem* item = fields != nullptr ? ItemOf(tree, fields->hItem) : nullptr;
      if (item != nullptr) {
        QSignalBlocker quiet(tree);
        SetItem(tree, item, *fields);
      }
      *result = item != nullptr ? TRUE : FALSE;
      return true;
    }
    case TVM_SORTCHILDREN: {
      QTreeWidgetItem* item = ItemOf(tree, handle);
      ForgetWalk(tree);
      if (item != nullptr) {
        item->sortChildren(0, Qt::AscendingOrder);
      } else {
        tree->sortItems(0, Qt::AscendingOrder);
      }
      *result = TRUE;
      return true;
    }
    default:
      return false;
  }
}
