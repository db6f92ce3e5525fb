#include "AperturaNivel.h"

#include "Ajustes.h"
#include "ArbolObjetos.h"
#include "ArchivosRecientes.h"
#include "BarraEstado.h"
#include "BucleDibujo.h"
#include "ClasesAlternas.h"
#include "DisposicionCliente.h"
#include "EstadoVentana.h"
#include "MenuVer.h"
#include "MostradorNivel.h"
#include "PanelDisparadores.h"
#include "PanelPaginas.h"
#include "PanelSonidos.h"
#include "ReproductorSonido.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <QWidget>

#include <new>
#include <string>

bool AperturaNivel::Abrir(const QString& ruta, const std::function<void(const QString&)>& avisar) {
    std::unique_ptr<NivelSubido> nuevo;
    Hecho abierto;
    try {
        abierto = AbrirNivel(QFile::encodeName(ruta).constData(), bucle_.Dispositivo(), nuevo);
    } catch (const std::bad_alloc&) {
        // The new level is built apart, so running out of memory costs only the new level.
        nuevo.reset();
        abierto = Hecho::Fallo(tr("no hay memoria suficiente para abrirlo").toStdString());
    }
    if (!abierto) {
        std::string motivo = abierto.Motivo();
        if (motivo.empty())
            motivo = tr("no se pudo leer").toStdString();
        if (avisar)
            avisar(tr("No se pudo abrir el nivel \"%1\":\n%2.")
                       .arg(QDir::toNativeSeparators(ruta), QString::fromStdString(motivo)));
        return false;
    }
    Cambiar(std::move(nuevo));
    carpeta_ = QFileInfo(ruta).absolutePath();
    Ajustes().setValue("archivos/carpeta", carpeta_);
    p_.Recientes->Agregar(ruta);
    const NivelSubido& nivel = *estado_.Nivel;
    p_.Barra->SetNivel(ruta, QFileInfo(ruta).size(), nivel.Nivel->Juego);
    Nombrar(ruta);
    Listar();
    // The level stays open: what the device refused is only missing from the panel, and the user
    // should hear why rather than take a bare panel for an empty level.
    const bool rechazado = FAILED(nivel.Subida) || (nivel.Dibujo && FAILED(nivel.Dibujo->Subida()));
    // The level itself first, where a player starts; the list and the tree pick from there.
    mostrador_.NivelCompleto();
    if (rechazado && avisar)
        avisar(tr("El nivel \"%1\" se abrió, pero OpenGL no aceptó todas sus páginas o meshes: "
                  "el panel puede mostrarlo incompleto.")
                   .arg(QDir::toNativeSeparators(ruta)));
    return true;
}

void AperturaNivel::Cambiar(std::unique_ptr<NivelSubido> nuevo) {
    // The selection, what is on show and the pages dock point into the level being replaced.
    p_.Paginas->SetNivel(nullptr, nullptr);
    p_.Sonido->SetNivel(nullptr);
    mostrador_.MostrarEnVista(nullptr);
    estado_.Seleccionado = nullptr;
    mostrador_.SoltarObjeto();
    estado_.Nivel = std::move(nuevo);
    const NivelSubido& nivel = *estado_.Nivel;
    p_.Paginas->SetNivel(nivel.Texturas.get(), nivel.Nivel.get());
    p_.Sonido->SetNivel(nivel.Nivel.get());
    p_.Sonidos->Llenar();
}

void AperturaNivel::Listar() {
    const NivelSubido& nivel = *estado_.Nivel;
    const int cantidad = nivel.Cantidad();
    p_.Rotulo->setText(tr("Meshes: %1").arg(cantidad));
    p_.Lista->clear();
    for (int i = 0; i < cantidad; ++i) {
        auto* entrada = new QListWidgetItem(tr("Objeto:%1").arg(i), p_.Lista);
        entrada->setSizeHint(QSize(0, DisposicionCliente::ALTO_ENTRADA));
    }
    p_.Disparadores->SetLogica(&nivel.Logica);
    p_.Ver->SetGruposAlternos(ClasesAlternas(nivel.Logica.Cuartos).Grupos());
    const ArbolObjetos::Usos usos = p_.Arbol->Llenar(&nivel);
    for (int i = 0; i < p_.Lista->count() && size_t(i) < usos.Textos.size(); ++i)
        p_.Lista->item(i)->setToolTip(usos.Textos[size_t(i)].join("\n"));
    estado_.UsosMesh = usos.Ids;
}

void AperturaNivel::Nombrar(const QString& ruta) {
    p_.Ventana->setWindowFilePath(QFileInfo(ruta).absoluteFilePath());
    // "[*]" in a title stands for the modified mark; a file named with it keeps it, doubled.
    const QString nombre = QFileInfo(ruta).fileName().replace("[*]", "[*][*]");
    p_.Ventana->setWindowTitle(tr("%1 — %2").arg(titulo_, nombre));
}

QString ArchivoSoltado(const QMimeData* datos) {
    if (!datos || !datos->hasUrls())
        return {};
    for (const QUrl& url : datos->urls()) {
        const QString ruta = url.toLocalFile();
        // The first three games' levels too; the file's version word says which game it is.
        for (const char* terminacion : {".tr4", ".phd", ".tr2"})
            if (!ruta.isEmpty() && ruta.endsWith(terminacion, Qt::CaseInsensitive))
                return ruta;
    }
    return {};
}
