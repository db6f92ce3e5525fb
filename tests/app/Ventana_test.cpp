// The window's logic on Qt's offscreen platform, where no OpenGL 3.3 core context is to be had:
// the window runs without a device. The file choice and the messages are stood in for.
#include "Aplicacion.h"
#include "CargarNivel.h"
#include "EscritorNivel.h"
#include "TForm1.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <stdexcept>

#include <gtest/gtest.h>

using namespace fixture;

void PrintTo(const QString& texto, std::ostream* salida) {
    *salida << '"' << texto.toStdString() << '"';
}

namespace {

NivelFixture ConMeshes(int n) {
    NivelFixture nivel;
    MeshFixture m;
    m.vertices = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
    m.triangulos = {{{0, 1, 2}, 0}};
    nivel.meshes.assign(size_t(n), m);
    nivel.texturasObjeto = {TexturaObjetoFixture{}};
    return nivel;
}

class Ventana : public ::testing::Test {
  protected:
    void SetUp() override {
        ventana.ElegirArchivo = [this] { return eleccion; };
        ventana.Avisar = [this](const QString& texto) { avisos << texto; };
        ventana.show();
        QApplication::processEvents();
    }
    QString Escribir(const char* nombre, const Bytes& bytes) {
        const QString ruta = carpeta.filePath(nombre);
        EXPECT_TRUE(GuardarArchivo(ruta.toStdString(), bytes));
        return ruta;
    }
    void Elegir(const QString& ruta) {
        eleccion = ruta;
        ventana.Abrir1Click();
    }
    QStringList Entradas() const {
        QStringList e;
        for (int i = 0; i < ventana.ListBox1->count(); ++i)
            e << ventana.ListBox1->item(i)->text();
        return e;
    }

    QTemporaryDir carpeta;
    TForm1 ventana;
    QString eleccion;
    QStringList avisos;
};

TEST_F(Ventana, AbrirListaLasMeshesLasFlechasEligenYCancelarNoCambiaNada) {
    // Told once, after the window showed, that nothing will be drawn.
    EXPECT_EQ(avisos.size(), ventana.Dispositivo() ? 0 : 1);
    avisos.clear();
    Elegir("");
    EXPECT_EQ(ventana.Nivel(), nullptr);
    EXPECT_EQ(ventana.Label1->text(), "Meshes");

    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 3");
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1", "Objeto:2"}));
    ventana.ListBox1->setCurrentRow(0);
    QKeyEvent abajo(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(ventana.ListBox1, &abajo);
    EXPECT_EQ(ventana.Seleccionado(), ventana.Nivel()->Buffer(1));

    // A cancel after an open does not open the earlier file again.
    const NivelAbierto* antes = ventana.Nivel();
    Elegir("");
    EXPECT_EQ(ventana.Nivel(), antes);
    EXPECT_EQ(ventana.Seleccionado(), ventana.Nivel()->Buffer(1));
    EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(Ventana, UnArchivoDanadoSeNombraConSuMotivoYNadaCambia) {
    Elegir(Escribir("bueno.tr4", EscribirNivel(ConMeshes(2))));
    ventana.ListBox1->setCurrentRow(1);
    const NivelAbierto* antes = ventana.Nivel();
    Bytes danado = EscribirNivel(ConMeshes(4));
    danado.resize(danado.size() / 2);
    const QString ruta = Escribir("danado.tr4", danado);
    avisos.clear();
    Elegir(ruta);

    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(CargarNivel(ruta.toStdString().c_str(), nivel, &motivo), 0);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains(ruta) && avisos[0].contains(QString::fromStdString(motivo)))
        << avisos[0].toStdString();
    EXPECT_EQ(ventana.Nivel(), antes);
    EXPECT_EQ(ventana.Seleccionado(), antes->Buffer(1));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 2");
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1"}));
    // And it goes on turning.
    const float angulo = ventana.Angulo();
    ventana.FormPaint();
    EXPECT_NE(ventana.Angulo(), angulo);
    EXPECT_EQ(ventana.Seleccionado(), antes->Buffer(1));
}

TEST_F(Ventana, OtroNivelLiberaElAnteriorYQuitaLaSeleccion) {
    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    ventana.ListBox1->setCurrentRow(2);
    std::weak_ptr<dxBufferTextura> anterior = ventana.Nivel()->Meshes->Buffers[2];

    Elegir(Escribir("dos.tr4", EscribirNivel(ConMeshes(2))));
    EXPECT_TRUE(anterior.expired());
    EXPECT_EQ(ventana.Seleccionado(), nullptr);
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1"}));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 2");

    NivelFixture sinMeshes;
    sinMeshes.datosMeshCrudos = Bytes{};
    Elegir(Escribir("vacio.tr4", EscribirNivel(sinMeshes)));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 0");
    EXPECT_EQ(ventana.ListBox1->count(), 0);
}

TEST_F(Ventana, SoltarUnTr4LoAbreYAlCrecerElPanelTomaElSitio) {
    QMimeData datos;
    datos.setUrls({QUrl::fromLocalFile(carpeta.filePath("notas.txt")),
                   QUrl::fromLocalFile(Escribir("soltado.TR4", EscribirNivel(ConMeshes(1))))});
    QDragEnterEvent entrar({400, 300}, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ventana, &entrar);
    QDropEvent soltar({400, 300}, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ventana, &soltar);
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 1");

    // The controls keep their place at the panel's right; the object tree grows with the panel.
    ventana.resize(ventana.size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(ventana.Panel1Marco->geometry(), QRect(8, 8, 817 + 200, 769 + 100));
    EXPECT_EQ(ventana.ListBox1->geometry(), QRect(840 + 200, 48, 153, 177));
    EXPECT_EQ(ventana.TreeView1->geometry(), QRect(840 + 200, 320, 177, 457 + 100));
}

TEST_F(Ventana, ElArbolDeObjetosMuestraUnObjetoEnteroYLaListaVuelveALaMesh) {
    Elegir(Escribir("objetos.tr4", EscribirNivel(NivelObjetos())));
    ASSERT_EQ(ventana.TreeView1->topLevelItemCount(), 2);
    QTreeWidgetItem* movibles = ventana.TreeView1->topLevelItem(0);
    QTreeWidgetItem* estaticos = ventana.TreeView1->topLevelItem(1);
    EXPECT_EQ(movibles->text(0), "Movibles (6)");
    EXPECT_EQ(estaticos->text(0), "Estáticos (3)");
    ASSERT_EQ(movibles->childCount(), 6);
    EXPECT_EQ(movibles->child(0)->text(0), "Movible 5 · 3 meshes");
    EXPECT_EQ(estaticos->child(0)->text(0), "Estático 38");
    // Mesh 2 is the third of moveable 5 (and of 10), and static 38's one mesh.
    EXPECT_EQ(ventana.ListBox1->item(2)->toolTip(),
              "Movible 5, mesh 2 de 3\nMovible 10, mesh 2 de 3\nEstático 38");
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1", "Objeto:2"}));

    ventana.ListBox1->setCurrentRow(1);
    ASSERT_TRUE(ventana.Mostrado());
    EXPECT_EQ(ventana.Mostrado()->Que, TForm1::EnPantalla::Clase::Mesh);
    EXPECT_EQ(ventana.Mostrado()->Id, 1u);

    ventana.TreeView1->setCurrentItem(movibles->child(0));
    auto mostrado = ventana.Mostrado();
    ASSERT_TRUE(mostrado);
    EXPECT_EQ(mostrado->Que, TForm1::EnPantalla::Clase::Movible);
    EXPECT_EQ(mostrado->Id, 5u);
    EXPECT_EQ(mostrado->Meshes, 3);
    EXPECT_GT(mostrado->Radio, 100.f);
    EXPECT_EQ(ventana.Seleccionado(), nullptr) << "the list's mesh is not on show";
    EXPECT_EQ(ventana.ListBox1->currentRow(), -1);
    ventana.FormPaint(); // draws nothing without a device, and must not trip over the object

    // A heading shows nothing new; the list takes the panel back, even its earlier row.
    ventana.TreeView1->setCurrentItem(estaticos);
    EXPECT_EQ(ventana.Mostrado()->Id, 5u);
    ventana.ListBox1->setCurrentRow(1);
    EXPECT_EQ(ventana.Mostrado()->Que, TForm1::EnPantalla::Clase::Mesh);
    EXPECT_EQ(ventana.TreeView1->currentItem(), nullptr);

    // Another level drops the object with the level it belonged to.
    ventana.TreeView1->setCurrentItem(estaticos->child(0));
    EXPECT_EQ(ventana.Mostrado()->Que, TForm1::EnPantalla::Clase::Estatico);
    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    EXPECT_FALSE(ventana.Mostrado());
    EXPECT_EQ(ventana.TreeView1->topLevelItem(0)->text(0), "Movibles (0)");
}

} // namespace

TEST(Aplicacion, UnaExcepcionEnUnManejadorSeAvisaYElProgramaTerminaBien) {
    auto& aplicacion = *static_cast<Aplicacion*>(QCoreApplication::instance());
    QStringList avisos;
    aplicacion.AvisarError = [&](const QString& texto) { avisos << texto; };
    QTimer::singleShot(0, [] { throw std::runtime_error("prueba"); });
    EXPECT_EQ(aplicacion.exec(), 0);
    EXPECT_EQ(avisos, QStringList({"Error inesperado: prueba"}));
}

int main(int argc, char** argv) {
    // Set here rather than by CTest, so that the program also runs by hand without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Aplicacion aplicacion(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
