// A file name field with a "Browse..." button beside it that opens the
// dialog's own file chooser; a right click on the field does the same.
#pragma once

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kestra::app {

// The row of `field` and its button (named `buttonName`), which calls `choose`.
template <typename Choose>
QHBoxLayout* FileFieldRow(QLineEdit* field, const char* buttonName, Choose choose) {
  auto* browse = new QPushButton(QObject::tr("Browse..."));
  browse->setObjectName(buttonName);
  QObject::connect(browse, &QPushButton::clicked, field, choose);
  auto* row = new QHBoxLayout;
  row->addWidget(field);
  row->addWidget(browse);
  return row;
}

}  // namespace kestra::app
