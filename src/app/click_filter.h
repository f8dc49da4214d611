#pragma once
// A click on a widget that has no clicked signal of its own (a label, a
// frame): the left button pressed and released over it. Space or Enter does
// the same when the widget has the keyboard focus.

#include <functional>

class QWidget;

void onClick(QWidget *widget, std::function<void()> handler);
