// QTX: starts the main window, which does the rest.
#include <QApplication>

#include "shell/program.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  qtx::prepare_application();
  qtx::Program program;
  program.start();
  return QApplication::exec();
}
