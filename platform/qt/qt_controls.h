// The control classes' widgets and message handlers, one file per family.
#pragma once

#include "platform/qt/qt_window.h"

// Each returns true when it handled the message (the result in *result).
bool EditMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
bool ButtonMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
bool ListMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
bool TreeMessage(QtWindow* state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

QWidget* MakeEditWidget(QtWindow* state, QWidget* parent);
QWidget* MakeButtonWidget(QtWindow* state, QWidget* parent);
QWidget* MakeComboWidget(QtWindow* state, QWidget* parent);
QWidget* MakeListWidget(QtWindow* state, QWidget* parent);
QWidget* MakeTreeWidget(QtWindow* state, QWidget* parent);

// The text an edit, button, label or combo box shows.
QString ControlText(const QtWindow* state);
void SetControlText(QtWindow* state, const QString& text);
