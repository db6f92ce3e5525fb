#include "AcercaDe.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QtGlobal>

#ifndef TR4_VERSION
#error "TR4_VERSION comes from the project's version in CMake"
#endif

AcercaDe::AcercaDe(QWidget* padre) : QDialog(padre) {
    setObjectName("AcercaDe");
    setWindowTitle(tr("Acerca de tr4visor"));
    texto_ = tr("<h3>tr4visor %1</h3>"
                "<p>Visor de niveles de Tomb Raider 4 (archivos <tt>.tr4</tt>): muestra cada "
                "mesh, cada objeto armado (movibles y estáticos) y el nivel entero con sus "
                "cuartos, estáticos e items, para recorrerlo con la cámara; con textura o en "
                "alambre. Enseña las páginas de textura y exporta lo que se muestra a glTF 2.0, "
                "para Blender y otros programas.</p>"
                "<p>Su compañero de línea de órdenes, <tt>tr4tool</tt>, resume un nivel, lo "
                "dibuja en PNG y lo exporta sin ventana.</p>"
                "<p>Licencia MIT.</p>"
                "<p>Hecho con Qt %2.</p>")
                 .arg(QStringLiteral(TR4_VERSION), QString::fromLatin1(qVersion()));
    auto* etiqueta = new QLabel(texto_, this);
    etiqueta->setObjectName("TextoAcercaDe");
    etiqueta->setWordWrap(true);
    etiqueta->setTextFormat(Qt::RichText);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(etiqueta);
    columna->addWidget(botones);
    setMinimumWidth(420);
}

QString AcercaDe::Texto() const {
    return texto_;
}
