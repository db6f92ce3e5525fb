#pragma once
// Archivo -> Exportar: what is on show, written as glTF where the user says; what is open and on
// show stays as it was. A failure is told with its reason; what was written, and where, the
// status bar says for a while.
#include <QCoreApplication>
#include <QString>

#include <functional>

class BarraEstado;
struct EstadoVentana;

class ExportacionVista {
    Q_DECLARE_TR_FUNCTIONS(ExportacionVista)

  public:
    ExportacionVista(const EstadoVentana& estado, BarraEstado& barra)
        : estado_(estado), barra_(barra) {}

    // The file name offered for what is on show; empty while nothing is.
    QString Sugerido() const;
    // Writes to `ruta` (.glb or .gltf); `avisar` tells the user of a failure.
    bool ExportarA(const QString& ruta, const std::function<void(const QString&)>& avisar);

  private:
    const EstadoVentana& estado_;
    BarraEstado& barra_;
};
