// tr4visor [NIVEL]: the viewer's window, opening NIVEL at start when given.
#include "TForm1.h"
#include "Aplicacion.h"
#include "Monticulo.h"

#include <QCommandLineParser>

int main(int argc, char** argv) {
    // Frames follow each other without pause; the heap must not shrink and regrow in each one.
    ConservarMonticulo();
    Aplicacion aplicacion(argc, argv);
    QApplication::setApplicationName("tr4visor");
    QApplication::setApplicationVersion(TR4_VERSION);

    QCommandLineParser opciones;
    opciones.setApplicationDescription(
        QCoreApplication::translate("tr4visor", "Visor de niveles de Tomb Raider 4"));
    opciones.addHelpOption();
    opciones.addVersionOption();
    opciones.addPositionalArgument(QCoreApplication::translate("tr4visor", "NIVEL"),
                                   QCoreApplication::translate("tr4visor", "Nivel .tr4 que se abre al empezar."),
                                   QCoreApplication::translate("tr4visor", "[NIVEL]"));
    opciones.process(aplicacion);

    TForm1 Form1;
    Form1.show();
    if (const QStringList niveles = opciones.positionalArguments(); !niveles.isEmpty())
        Form1.AbrirArchivo(niveles.first());
    aplicacion.exec();
    return 0;
}
