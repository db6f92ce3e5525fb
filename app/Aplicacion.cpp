#include "Aplicacion.h"

#include <QMessageBox>

#include <exception>
#include <new>

Aplicacion::Aplicacion(int& argc, char** argv) : QApplication(argc, argv) {
    AvisarError = [](const QString& texto) {
        QMessageBox::critical(nullptr, "Visualizador de Prueba", texto);
    };
}

bool Aplicacion::notify(QObject* destino, QEvent* evento) {
    QString texto;
    try {
        return QApplication::notify(destino, evento);
    } catch (const std::bad_alloc&) {
        texto = "No queda memoria para continuar.";
    } catch (const std::exception& e) {
        texto = QString("Error inesperado: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        texto = "Error inesperado.";
    }
    // The state behind the failed handler cannot be trusted; end once the user has been told.
    if (AvisarError)
        AvisarError(texto);
    exit(0);
    return false;
}
