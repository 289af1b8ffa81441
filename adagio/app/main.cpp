// Adagio: one instance per user; the program ends when its window closes.
#include "adagio/app/generator_app.h"
#include "adagio/app/generator_dlg.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  CGeneratorApp app;
  if (!app.InitInstance()) return app.ExitInstance(0);
  QObject::connect(app.GetMainWnd(), &QDialog::finished, &qt, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  const int code = QApplication::exec();
  return app.ExitInstance(code);
}
