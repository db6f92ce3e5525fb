#include "ExportacionVista.h"

#include "BarraEstado.h"
#include "EscrituraAtomica.h"
#include "EstadoVentana.h"
#include "ExportarGLTF.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <new>
#include <string>
#include <vector>

namespace {

// How long the status bar says what an export wrote.
constexpr int MENSAJE_EXPORTADO_MS = 15000;

} // namespace

QString ExportacionVista::Sugerido() const {
    const auto exportacion = estado_.Vista.Exportar();
    return exportacion ? QString::fromStdString(exportacion->Nombre) : QString();
}

bool ExportacionVista::ExportarA(const QString& ruta,
                                 const std::function<void(const QString&)>& avisar) {
    const auto exportacion = estado_.Vista.Exportar();
    if (!exportacion || !estado_.Nivel)
        return false;
    Hecho hecho;
    int escritos = 0;
    try {
        std::vector<ArchivoPorEscribir> archivos;
        hecho = ExportarGLTFEnMemoria(*estado_.Nivel, exportacion->Opciones,
                                      QFile::encodeName(ruta).toStdString(), archivos);
        if (hecho)
            hecho = EscribirAtomico(archivos);
        escritos = int(archivos.size());
    } catch (const std::bad_alloc&) {
        hecho = Hecho::Fallo(tr("no hay memoria suficiente").toStdString());
    }
    if (!hecho) {
        if (avisar)
            avisar(
                tr("No se pudo exportar a \"%1\":\n%2.")
                    .arg(QDir::toNativeSeparators(ruta), QString::fromStdString(hecho.Motivo())));
        barra_.clearMessage(); // an earlier export's word would read as this one's
        return false;
    }
    // Nothing else shows that the save dialog's choice was written, nor where a .gltf's pages
    // went. For a while: the message covers what is on show.
    const QFileInfo escrito(ruta);
    const QString carpeta = QDir::toNativeSeparators(escrito.absolutePath());
    barra_.showMessage(escritos > 1
                           ? tr("Exportado %1 en %2 (%3 archivos en total)")
                                 .arg(escrito.fileName(), carpeta, QString::number(escritos))
                           : tr("Exportado %1 en %2").arg(escrito.fileName(), carpeta),
                       MENSAJE_EXPORTADO_MS);
    return true;
}
