#pragma once
// The last levels opened, in the menu Archivo above Salir: the last opened first, each once, at
// most MAXIMO, remembered between runs as soon as the list changes. An entry picked asks the
// window to open its file; one whose file is gone is dropped when it fails.
#include <QObject>
#include <QStringList>

#include <vector>

class QAction;
class QMenu;

class ArchivosRecientes : public QObject {
    Q_OBJECT

  public:
    static constexpr int MAXIMO = 8;

    // Adds a separator and the entries at the end of `menu`, filled from what was remembered.
    ArchivosRecientes(QMenu* menu, QObject* padre);

    QStringList Lista() const { return rutas_; }
    // `ruta` opened: first, once; the oldest beyond MAXIMO goes.
    void Agregar(const QString& ruta);
    // Opening `ruta` failed: a file that is gone is not offered again; one that failed for
    // another reason stays, as it may be mended.
    void Fallido(const QString& ruta);

  signals:
    void Abrir(const QString& ruta);

  private:
    void Actualizar();
    void Recordar() const;

    QAction* separador_;
    std::vector<QAction*> acciones_;
    QStringList rutas_;
};
