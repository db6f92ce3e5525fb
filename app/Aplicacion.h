#pragma once
// The viewer's application object. An exception that would leave an event handler (Qt cannot
// carry one through its event loop) is shown to the user instead, and the program ends normally.
#include "Idioma.h"

#include <QApplication>
#include <QString>
#include <QTranslator>

#include <functional>

class Aplicacion : public QApplication {
  public:
    // Installs the translation of the window's texts the language in force asks for.
    Aplicacion(int& argc, char** argv);

    // Windows made afterwards speak `idioma`: Spanish, the window's own texts, or English. Qt's
    // own dialogs and buttons (file dialogs, message boxes) follow: under Spanish with Qt's
    // translation, where the system has it (Debian's qt6-translations-l10n).
    void AplicarIdioma(Idioma idioma);

    bool notify(QObject* destino, QEvent* evento) override;

    // Tells the user what went wrong. A message box unless replaced.
    std::function<void(const QString& texto)> AvisarError;

  private:
    QTranslator traductor_, traductorQt_;
    bool instalado_ = false, instaladoQt_ = false;
};
