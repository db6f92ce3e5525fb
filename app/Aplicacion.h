#pragma once
// The viewer's application object. An exception that would leave an event handler (Qt cannot
// carry one through its event loop) is shown to the user instead, and the program ends normally.
#include <QApplication>
#include <QString>

#include <functional>

class Aplicacion : public QApplication {
  public:
    Aplicacion(int& argc, char** argv);

    bool notify(QObject* destino, QEvent* evento) override;

    // Tells the user what went wrong. A message box unless replaced.
    std::function<void(const QString& texto)> AvisarError;
};
