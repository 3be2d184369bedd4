// The reference for the start-up figure: a bare main window, shown, then the program ends, the
// way qtx_probe startup ends once QTX's main window is shown.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.resize(800, 600);
  window.show();
  QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
  return QApplication::exec();
}
