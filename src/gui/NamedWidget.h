// Making a captioned control that carries its designed name, so that tests
// and the language loader find it with findChild.
#pragma once

#include <QString>
#include <QWidget>

namespace kavrin {

// A label, button, check box or line edit with the given text, parent and object name.
template <class Widget>
Widget* NamedWidget(QWidget* parent, const char* name, const QString& text)
{
    auto* widget = new Widget(text, parent);
    widget->setObjectName(name);
    return widget;
}

}  // namespace kavrin
