#include "tests/ui/ui_test_util.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

void OnNextModal(std::function<void(QWidget*)> act, int timeoutMs) {
  auto* timer = new QTimer(qApp);
  auto waited = std::make_shared<int>(0);
  // Scheduled from within a modal window: the next one is another window.
  QPointer<QWidget> current = QApplication::activeModalWidget();
  QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, act, timeoutMs, current] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != current.data()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
      return;
    }
    *waited += 10;
    if (*waited >= timeoutMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal window opened";
    }
  });
  timer->start(10);
}

void TypeFileName(QFileDialog* dialog, const std::string& name) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(edit, nullptr);
  // A file the dialog selected in its list once the folder had loaded would
  // be chosen along with the typed one, and first.
  for (auto* view : dialog->findChildren<QAbstractItemView*>())
    if (view->selectionModel()) view->selectionModel()->clearSelection();
  edit->setText(QString::fromStdString(name));
}

HelpRecorder::HelpRecorder() {
  SetHelpObserverForTesting([this](HelpCommand command, unsigned long data) {
    calls.emplace_back(command, data);
  });
}

HelpRecorder::~HelpRecorder() { SetHelpObserverForTesting(nullptr); }
