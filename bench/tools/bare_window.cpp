// The reference for the start-up figure: a bare main window, shown, then the program ends, the
// way qtx_probe startup ends once QTX's main window is shown. With --text the window holds one
// label, so the reference pays for the font database as any window with text does.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstring>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.resize(800, 600);
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) window.setCentralWidget(new QLabel(QStringLiteral("QTX")));
  window.show();
  QTimer::singleShot(0, &application, [] { QCoreApplication::exit(0); });
  return QApplication::exec();
}
