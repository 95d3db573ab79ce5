// The row of confirm and cancel buttons at the foot of the program's dialogs.
#pragma once

#include <QHBoxLayout>
#include <QPushButton>
#include <functional>

namespace kavrin {

// Two buttons named BitBtn1 (the default) and BitBtn2, right-aligned, each
// running its handler when clicked.
inline QHBoxLayout* DialogButtons(QWidget* dialog, const QString& confirmText, const std::function<void()>& confirm,
                                  const QString& cancelText, const std::function<void()>& cancel)
{
    auto* confirmButton = new QPushButton(confirmText, dialog);
    confirmButton->setObjectName("BitBtn1");
    confirmButton->setDefault(true);
    auto* cancelButton = new QPushButton(cancelText, dialog);
    cancelButton->setObjectName("BitBtn2");
    QObject::connect(confirmButton, &QPushButton::clicked, dialog, confirm);
    QObject::connect(cancelButton, &QPushButton::clicked, dialog, cancel);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(confirmButton);
    row->addWidget(cancelButton);
    return row;
}

}  // namespace kavrin
