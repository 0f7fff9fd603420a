// The Qt backend's state of one window: the widget that shows it and what the handheld kept
// with a window (parent, control id, style, font, scroll bar, menu bar). It hangs off the
// platform's window record (WindowRecord::native) and lives on the user-interface thread.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "platform/window_record.h"

class QScrollBar;

struct QtWindow {
  HWND hwnd = nullptr;
  QPointer<QWidget> widget;
  HWND parent = nullptr;
  int id = 0;
  DWORD style = 0;
  QString className;
  QString text;  // the window name given at creation (a control's first text)
  HFONT font = nullptr;
  bool topLevel = false;
  // The vertical bar of a window made with WS_VSCROLL: this record is what the program sets
  // and reads; the widget mirrors it.
  QScrollBar* scrollBar = nullptr;
  SCROLLINFO scroll{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  HWND menuBar = nullptr;  // the bottom menu bar of a top-level window
  // Keys typed into a control reach its (possibly replaced) procedure first; the control's own
  // procedure sets keyPassedOn when a key reaches it, and the widget then handles the key.
  bool deliveringKey = false;
  bool keyPassedOn = false;
  // While a paint event is handled, BeginPaint draws on the widget.
  bool inPaint = false;
};

// The backend's state of `window`, or null for a message-only or dead window (UI thread).
QtWindow* NativeOf(HWND window);
QWidget* WidgetOf(HWND window);
// False once the window's state was released (its widget may still see a few events until it
// is deleted).
bool IsLiveState(const QtWindow* state);
// The HWND shown by a widget or its nearest ancestor that shows one; null if none.
HWND HwndOfWidget(const QWidget* widget);

// Makes the record and state of a window whose widget `makeWidget` builds (with the state
// filled and the parent's widget, which is null for a top-level window) before WM_CREATE.
using WidgetFactory = QWidget* (*)(QtWindow* state, QWidget* parentWidget);
HWND CreateNativeWindow(const char* className, const QString& name, DWORD style, int x, int y,
                        int width, int height, HWND parent, int id, void* param,
                        WidgetFactory makeWidget);

// Calls the window's current procedure at once (not queued); 0 for a dead window.
LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_COMMAND (id, code, control) to the control's parent.
void NotifyParentCommand(const QtWindow* control, WORD code);
// WM_NOTIFY to the control's parent; fills the header's sender fields.
LRESULT NotifyParent(const QtWindow* control, NMHDR* header);

QString ToQString(const WCHAR* text, int count = -1);
// Copies `text` into `buffer` (at most size - 1 characters and a terminator); returns the count.
int CopyToBuffer(const QString& text, WCHAR* buffer, int size);
QColor ToQColor(COLORREF colour);
// The handheld's virtual key code of a Qt key (0 when it has none).
WPARAM VirtualKeyOf(int qtKey);

// The standard controls (qt_controls.cpp).
void RegisterControlClasses();
bool IsControlClass(const QString& className);
QWidget* MakeControlWidget(QtWindow* state, QWidget* parentWidget);
// Windows of registered classes (qt_host_widget.cpp).
QWidget* MakeHostWidget(QtWindow* state, QWidget* parentWidget);
// The modifiers of the key or mouse event a host widget is delivering now.
Qt::KeyboardModifiers HostDeliveredModifiers();

// The client area in pixels (without the scroll bar and the menu bar).
QSize ClientSize(const QtWindow* state);
// Mirrors the scroll record into the widget's bar.
void SyncScrollBar(QtWindow* state);
// Places the scroll bar and the menu bar after a resize.
void PlaceFrameParts(QtWindow* state);

// The font a handle stands for (null: the application's font).
QFont FontOfHandle(HFONT font);
// Held while a loop of Qt's own runs (a message box, a popup menu): the message queue is
// served from inside it.
class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
};
