#include "Aplicacion.h"

#include <QLibraryInfo>
#include <QMessageBox>

#include <exception>
#include <new>

Aplicacion::Aplicacion(int& argc, char** argv) : QApplication(argc, argv) {
    AplicarIdioma(IdiomaActual());
    AvisarError = [](const QString& texto) {
        QMessageBox::critical(nullptr, translate("TForm1", "Visualizador de Prueba"), texto);
    };
}

void Aplicacion::AplicarIdioma(Idioma idioma) {
    if (instalado_) {
        removeTranslator(&traductor_);
        instalado_ = false;
    }
    if (instaladoQt_) {
        removeTranslator(&traductorQt_);
        instaladoQt_ = false;
    }
    // The catalogue is built from app/traducciones and carried inside the program.
    if (idioma == Idioma::Ingles &&
        traductor_.load(QStringLiteral(":/traducciones/tr4visor_en.qm")))
        instalado_ = installTranslator(&traductor_);
    // Qt's own texts are English already; the system's catalogue makes them Spanish.
    if (idioma == Idioma::Espanol &&
        traductorQt_.load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        instaladoQt_ = installTranslator(&traductorQt_);
}

bool Aplicacion::notify(QObject* destino, QEvent* evento) {
    QString texto;
    try {
        return QApplication::notify(destino, evento);
    } catch (const std::bad_alloc&) {
        texto = translate("Aplicacion", "No queda memoria para continuar.");
    } catch (const std::exception& e) {
        texto =
            translate("Aplicacion", "Error inesperado: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        texto = translate("Aplicacion", "Error inesperado.");
    }
    // The state behind the failed handler cannot be trusted; end once the user has been told.
    if (AvisarError)
        AvisarError(texto);
    exit(0);
    return false;
}
