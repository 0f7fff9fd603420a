// COMBOBOX (drop-down list, optionally sorted) and LISTBOX: strings with item data.
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>

#include "platform/qt/qt_controls.h"

namespace {

constexpr int kDataRole = Qt::UserRole + 1;

// Where a string goes in a sorted list: after every string that is not greater (ignoring case).
template <typename Count, typename TextAt>
int SortedPosition(const QString& text, Count count, TextAt textAt) {
  int position = 0;
  while (position < count() && textAt(position).compare(text, Qt::CaseInsensitive) <= 0) {
    ++position;
  }
  return position;
}

// The operations both controls share, on a combo box or a list widget.
struct ListAccess {
  QComboBox* combo;
  QListWidget* list;
  int Count() const { return combo ? combo->count() : list->count(); }
  QString TextAt(int i) const { return combo ? combo->itemText(i) : list->item(i)->text(); }
  void Insert(int i, const QString& text) {
    if (combo) {
      combo->insertItem(i, text);
    } else {
      list->insertItem(i, text);
    }
  }
  void Remove(int i) {
    if (combo) {
      combo->removeItem(i);
    } else {
      delete list->takeItem(i);
    }
  }
  void Clear() {
    if (combo) {
      combo->clear();
    } else {
      list->clear();
    }
  }
  int Current() const { return combo ? combo->currentIndex() : list->currentRow(); }
  void SetCurrent(int i) {
    if (combo) {
      combo->setCurrentIndex(i);
    } else {
      list->setCurrentRow(i);
    }
  }
  LPARAM DataAt(int i) const {
    QVariant value = combo ? combo->itemData(i, kDataRole) : list->item(i)->data(kDataRole);
    return static_cast<LPARAM>(value.toLongLong());
  }
  void SetData(int i, LPARAM data) {
    if (combo) {
      combo->setItemData(i, QVariant::fromValue<qlonglong>(data), kDataRole);
    } else {
      list->item(i)->setData(kDataRole, QVariant::fromValue<qlonglong>(data));
    }
  }
};

bool Valid(const ListAccess& access, WPARAM index) {
  return static_cast<int>(index) >= 0 && static_cast<int>(index) < access.Count();
}

LRESULT Add(ListAccess& access, const QString& text, bool sorted) {
  int position =
      sorted ? SortedPosition(
                   text, [&] { return access.Count(); }, [&](int i) { return access.TextAt(i); })
             : access.Count();
  access.Insert(position, text);
  return position;
}

// The desktop's list box tells its owner of every click on an entry, also one on the entry
// that is already selected; Qt reports only changes. Without this a preselected entry could
// not be chosen by clicking it.
class ReclickWatch : public QObject {
 public:
  ReclickWatch(QListWidget* list, QtWindow* state) : QObject(list), list_(list), state_(state) {
    list->viewport()->installEventFilter(this);
    QObject::connect(list, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
      // A press that changed the row was told already (currentRowChanged).
      if (rowBefore_ >= 0 && list_->row(item) == rowBefore_) {
        NotifyParentCommand(state_, LBN_SELCHANGE);
      }
      rowBefore_ = -1;
    });
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) {
      bool left = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
      rowBefore_ = left ? list_->currentRow() : -1;
    }
    return false;
  }

 private:
  QListWidget* list_;
  QtWindow* state_;
  int rowBefore_ = -1;
};

}  // namespace

QWidget* MakeComboWidget(QtWindow* state, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable((state->style & 0x3) == CBS_DROPDOWN);
  QObject::connect(combo, QOverload<int>::of(&QComboBox::activated),
                   [state](int) { NotifyParentCommand(state, CBN_SELCHANGE); });
  return combo;
}

QWidget* MakeListWidget(QtWindow* state, QWidget* parent) {
  auto* list = new QListWidget(parent);
  QObject::connect(list, &QListWidget::currentRowChanged,
                   [state](int) { NotifyParentCommand(state, LBN_SELCHANGE); });
  QObject::connect(list, &QListWidget::itemDoubleClicked,
                   [state](QListWidgetItem*) { NotifyParentCommand(state, LBN_DBLCLK); });
  new ReclickWatch(list, state);  // owned by the list
  return list;
}

bool ListMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  ListAccess access{qobject_cast<QComboBox*>(state->widget.data()),
                    qobject_cast<QListWidget*>(state->widget.data())};
  if (access.combo == nullptr && access.list == nullptr) {
    return false;
  }
  bool isCombo = access.combo != nullptr;
  bool sorted = (state->style & (isCombo ? CBS_SORT : LBS_SORT)) != 0;
  auto text = [&] { return ToQString(reinterpret_cast<const WCHAR*>(lParam)); };
  // The two controls' messages have different numbers and the same meanings.
  UINT add = isCombo ? CB_ADDSTRING : LB_ADDSTRING;
  UINT insert = isCombo ? CB_INSERTSTRING : LB_INSERTSTRING;
  UINT remove = isCombo ? CB_DELETESTRING : LB_DELETESTRING;
  UINT reset = isCombo ? CB_RESETCONTENT : LB_RESETCONTENT;
  UINT count = isCombo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT getCurrent = isCombo ? CB_GETCURSEL : LB_GETCURSEL;
  UINT setCurrent = isCombo ? CB_SETCURSEL : LB_SETCURSEL;
  UINT getText = isCombo ? CB_GETLBTEXT : LB_GETTEXT;
  UINT getTextLength = isCombo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT getData = isCombo ? CB_GETITEMDATA : LB_GETITEMDATA;
  UINT setData = isCombo ? CB_SETITEMDATA : LB_SETITEMDATA;
  const LRESULT error = -1;
  QSignalBlocker quiet(state->widget.data());  // programmatic changes notify nobody
  if (message == add) {
    *result = Add(access, text(), sorted);
  } else if (message == insert) {
    int position = static_cast<int>(wParam) < 0 || static_cast<int>(wParam) > access.Count()
                       ? access.Count()
                       : static_cast<int>(wParam);
    access.Insert(position, text());
    *result = position;
  } else if (message == remove) {
    *result =
        Valid(access, wParam) ? (access.Remove(static_cast<int>(wParam)), access.Count()) : error;
  } else if (message == reset) {
    access.Clear();
    *result = 0;
  } else if (message == count) {
    *result = access.Count();
  } else if (message == getCurrent) {
    *result = access.Current();
  } else if (message == setCurrent) {
    bool valid = Valid(access, wParam);
    access.SetCurrent(valid ? static_cast<int>(wParam) : -1);
    *result = valid ? static_cast<LRESULT>(wParam) : error;
  } else if (message == getText) {
    *result = Valid(access, wParam) ? CopyToBuffer(access.TextAt(static_cast<int>(wParam)),
                                                   reinterpret_cast<WCHAR*>(lParam), 0x7FFFFFFF)
                                    : error;
  } else if (message == getTextLength) {
    *result = Valid(access, wParam) ? access.TextAt(static_cast<int>(wParam)).size() : error;
  } else if (message == getData) {
    *result = Valid(access, wParam) ? access.DataAt(static_cast<int>(wParam)) : error;
  } else if (message == setData) {
    *result = Valid(access, wParam) ? (access.SetData(static_cast<int>(wParam), lParam), 0) : error;
  } else if (isCombo && message == CB_FINDSTRINGEXACT) {
    *result = error;
    int start = static_cast<int>(static_cast<LONG>(wParam)) + 1;
    for (int i = 0; i < access.Count(); ++i) {
      int index = (std::max(start, 0) + i) % access.Count();
      if (access.TextAt(index).compare(text(), Qt::CaseInsensitive) == 0) {
        *result = index;
        break;
      }
    }
  } else {
    return false;
  }
  return true;
}
