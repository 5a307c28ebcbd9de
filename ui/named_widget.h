#pragma once
// Widgets are made with an object name: the tests and the screenshots find them by it.

#include <QString>
#include <QWidget>

namespace velmark::ui {

template <typename Widget>
Widget* named(const QString& name, QWidget* parent) {
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    return widget;
}

template <typename Widget>
Widget* named(const char* name, QWidget* parent) {
    return named<Widget>(QString::fromLatin1(name), parent);
}

}  // namespace velmark::ui
