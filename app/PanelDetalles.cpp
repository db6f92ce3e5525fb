#include "PanelDetalles.h"

#include "ConvencionesNivel.h"
#include "LeerSectores.h"
#include "MatrizDispositivo.h"
#include "NivelSubido.h"

#include <QHeaderView>
#include <QLabel>
#include <QSet>
#include <QTreeWidget>

#include <cmath>

namespace {

QString Grados(uint16_t angulo) {
    return QStringLiteral("%1°").arg(GradosGiro<double>(angulo), 0, 'f', 1);
}

QString Lugar(int64_t x, int64_t y, int64_t z) {
    return QStringLiteral("%1, %2, %3").arg(x).arg(y).arg(z);
}

QString Hex(uint32_t v, int cifras) {
    return QStringLiteral("0x%1").arg(v, cifras, 16, QChar('0')).toUpper().replace("0X", "0x");
}

// The four corners' heights in the order x-z-, x-z+, x+z-, x+z+.
QString Esquinas(const trSuperficieSector& s) {
    return QStringLiteral("%1, %2, %3, %4").arg(s.Y[0]).arg(s.Y[1]).arg(s.Y[2]).arg(s.Y[3]);
}

const char* const ESQUINA[4] = {"x-z-", "x-z+", "x+z-", "x+z+"};

// What a trigger's actions name that the level has, each once, as one row whose value links to
// them; none when they name nothing.
std::optional<QStringList> FilaDeObjetivos(const trLogica& l, size_t items, const trDisparador& d) {
    QStringList textos, enlaces;
    QSet<QString> vistos;
    auto enlace = [&](const char* clase, uint32_t indice, const QString& texto) {
        const QString destino = QStringLiteral("%1:%2").arg(QLatin1String(clase)).arg(indice);
        if (vistos.contains(destino))
            return;
        vistos.insert(destino);
        textos << texto;
        enlaces << QStringLiteral("<a href=\"%1\">%2</a>").arg(destino, texto.toHtmlEscaped());
    };
    using A = trTipoAccion;
    for (const trAccion& a : d.Acciones) {
        const uint32_t p = a.Parametro;
        switch (A(a.Tipo)) {
        case A::Objeto:
        case A::MirarItem:
            if (p < items)
                enlace("item", p, PanelDetalles::tr("item %1").arg(p));
            break;
        case A::Camara:
        case A::Corriente:
            if (p < l.Camaras.size())
                enlace("camara", p,
                       (A(a.Tipo) == A::Camara ? PanelDetalles::tr("cámara %1")
                                               : PanelDetalles::tr("sumidero %1"))
                           .arg(p));
            break;
        case A::Vuelo:
            if (p < l.Secuencias.size() && !l.Secuencias[p].empty())
                enlace("vuelo", p, PanelDetalles::tr("vuelo %1").arg(p));
            break;
        case A::MapaAlterno:
        case A::AlternoEncendido:
        case A::AlternoApagado:
            if (p < 256)
                enlace("grupo", p, PanelDetalles::tr("grupo alterno %1").arg(p));
            break;
        default:
            break;
        }
    }
    if (textos.isEmpty())
        return std::nullopt;
    return QStringList{PanelDetalles::tr("Ir a"), textos.join(", "), enlaces.join(", ")};
}

// What the floor data makes of one sector, as rows of the dock.
QList<QStringList> FilasDeSuelo(const trLogica& l, size_t items, size_t cuarto, const trSector& s) {
    QList<QStringList> filas;
    auto superficie = [&](const QString& nombre, const QString& corte,
                          const trSuperficieSector& sup) {
        filas << QStringList{nombre, Esquinas(sup)};
        if (sup.Triangulada) {
            QString texto = sup.Diagonal == trDiagonal::Esquinas1y2
                                ? PanelDetalles::tr("diagonal de x+z- a x-z+")
                                : PanelDetalles::tr("diagonal de x-z- a x+z+");
            if (sup.MitadPortal >= 0)
                texto += PanelDetalles::tr("; portal en la mitad de %1").arg(ESQUINA[sup.MitadPortal]);
            filas << QStringList{corte, texto};
        }
    };
    superficie(PanelDetalles::tr("Suelo en las esquinas"), PanelDetalles::tr("Corte del suelo"),
               s.SueloS);
    superficie(PanelDetalles::tr("Techo en las esquinas"), PanelDetalles::tr("Corte del techo"),
               s.TechoS);
    if (s.Portal >= 0)
        filas << QStringList{PanelDetalles::tr("Portal al cuarto"), QString::number(s.Portal)};
    QStringList marcas;
    if (s.Muerte)
        marcas << PanelDetalles::tr("muerte");
    if (s.Trepar) {
        QStringList lados;
        const char* const LADO[4] = {"+z", "+x", "-z", "-x"};
        for (int k = 0; k < 4; ++k)
            if (s.Trepar & (1 << k))
                lados << LADO[k];
        marcas << PanelDetalles::tr("trepar (%1)").arg(lados.join(", "));
    }
    if (s.Mono)
        marcas << PanelDetalles::tr("mono");
    if (s.DisparaDisparador)
        marcas << PanelDetalles::tr("disparador diferido");
    if (s.Escarabajo)
        marcas << PanelDetalles::tr("escarabajo");
    if (!marcas.isEmpty())
        filas << QStringList{PanelDetalles::tr("Marcas"), marcas.join(", ")};
    if (s.Disparador >= 0 && size_t(s.Disparador) < l.Disparadores.size()) {
        const trDisparador& d = l.Disparadores[size_t(s.Disparador)];
        filas << QStringList{PanelDetalles::tr("Disparador"),
                             QString::fromStdString(TextoDisparador(d))};
        if (auto objetivos = FilaDeObjetivos(l, items, d))
            filas << *objetivos;
    }
    const trCuartoLogica& c = l.Cuartos[cuarto];
    const size_t indice = size_t(&s - c.Sectores.data());
    for (const trAvisoSuelo& a : l.Avisos)
        if (a.Cuarto == cuarto && a.Sector == indice)
            filas << QStringList{PanelDetalles::tr("Aviso"), QString::fromStdString(a.Texto)};
    return filas;
}

} // namespace

PanelDetalles::PanelDetalles(QWidget* padre) : QDockWidget(tr("Detalles"), padre) {
    setObjectName("PanelDetalles");
    lista_ = new QTreeWidget(this);
    lista_->setObjectName("ListaDetalles");
    lista_->setColumnCount(2);
    lista_->setHeaderLabels({tr("Campo"), tr("Valor")});
    lista_->setRootIsDecorated(false);
    lista_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    // Values fit the dock's width rather than scroll out of it.
    lista_->header()->setStretchLastSection(true);
    lista_->setTextElideMode(Qt::ElideRight);
    lista_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lista_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setWidget(lista_);
    Describir(tr("Haga clic en el nivel o en un objeto para ver qué es"), {});
}

void PanelDetalles::Describir(const QString& titulo, const QList<QStringList>& filas) {
    lista_->clear();
    auto* cabeza = new QTreeWidgetItem(lista_, {titulo});
    cabeza->setFirstColumnSpanned(true);
    QFont negrita = cabeza->font(0);
    negrita.setBold(true);
    cabeza->setFont(0, negrita);
    // A value wider than the dock is cut short with "…"; the whole of it shows on hover.
    for (const QStringList& f : filas) {
        auto* e = new QTreeWidgetItem(lista_, f.mid(0, 2));
        for (int c = 0; c < 2 && c < f.size(); ++c)
            e->setToolTip(c, f[c]);
        if (f.size() < 3)
            continue;
        // Links: a label over the value's cell, the plain value kept for Lineas() only.
        e->setData(1, Qt::UserRole, f[1]);
        e->setText(1, QString());
        auto* enlaces = new QLabel(f[2]);
        enlaces->setObjectName("Enlaces");
        enlaces->setTextFormat(Qt::RichText);
        enlaces->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                         Qt::LinksAccessibleByKeyboard);
        enlaces->setToolTip(f[1]);
        // Queued: following a link may describe something else, which deletes this label.
        connect(enlaces, &QLabel::linkActivated, this, &PanelDetalles::Seguir,
                Qt::QueuedConnection);
        lista_->setItemWidget(e, 1, enlaces);
    }
}

std::optional<PanelDetalles::Destino> PanelDetalles::DestinoDeEnlace(const QString& enlace) {
    const QStringList partes = enlace.split(':');
    bool numero = false;
    const int indice = partes.value(1).toInt(&numero);
    if (partes.size() != 2 || !numero || indice < 0)
        return std::nullopt;
    using T = Destino::Tipo;
    const QString& clase = partes[0];
    const std::optional<T> tipo = clase == QLatin1String("item")     ? std::optional(T::Item)
                                  : clase == QLatin1String("camara") ? std::optional(T::Camara)
                                  : clase == QLatin1String("vuelo")  ? std::optional(T::Vuelo)
                                  : clase == QLatin1String("grupo")  ? std::optional(T::Grupo)
                                                                     : std::nullopt;
    if (!tipo)
        return std::nullopt;
    return Destino{*tipo, indice};
}

void PanelDetalles::Seguir(const QString& enlace) {
    if (const auto destino = DestinoDeEnlace(enlace); destino && AlSeguir)
        AlSeguir(*destino);
}

QStringList PanelDetalles::Enlaces() const {
    QStringList enlaces;
    for (int i = 0; i < lista_->topLevelItemCount(); ++i)
        if (auto* l = qobject_cast<QLabel*>(lista_->itemWidget(lista_->topLevelItem(i), 1))) {
            // The addresses in the label's rich text, in order.
            const QString texto = l->text();
            for (qsizetype k = texto.indexOf("href=\""); k >= 0; k = texto.indexOf("href=\"", k)) {
                k += 6;
                enlaces << texto.mid(k, texto.indexOf('"', k) - k);
            }
        }
    return enlaces;
}

QStringList PanelDetalles::Lineas() const {
    QStringList lineas;
    for (int i = 0; i < lista_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* e = lista_->topLevelItem(i);
        const QString valor =
            e->text(1).isEmpty() ? e->data(1, Qt::UserRole).toString() : e->text(1);
        lineas << (valor.isEmpty() ? e->text(0) : e->text(0) + ": " + valor);
    }
    return lineas;
}

void PanelDetalles::Soltar(NivelSubido* nivel) {
    if (nivel && nivel->Dibujo)
        nivel->Dibujo->Resaltar(-1);
    parte_ = -1;
    pieza_ = -1;
    Describir(tr("Nada elegido"), {});
}

bool PanelDetalles::ElegirItem(NivelSubido& nivel, int32_t item) {
    if (item < 0 || size_t(item) >= nivel.Objetos.Items.size())
        return false;
    pieza_ = -1;
    const DuenioCara duenio{DuenioCara::Tipo::Item, item};
    parte_ = nivel.Escena ? nivel.Escena->ParteDe(duenio) : -1;
    if (nivel.Dibujo)
        nivel.Dibujo->Resaltar(parte_);
    // The item's own place stands for the point a click met, device axes.
    const trItem& it = nivel.Objetos.Items[size_t(item)];
    QString titulo;
    const auto filas =
        DescribirAcierto(nivel, duenio, glm::vec3(float(it.X), -float(it.Y), float(it.Z)), titulo);
    Describir(titulo, filas);
    return true;
}

bool PanelDetalles::ElegirEnNivel(NivelSubido& nivel, const D3DXMATRIX& vista,
                                    const D3DXMATRIX& proyeccion, float x, float y, int ancho,
                                    int alto, const OpcionesNivel& opciones) {
    pieza_ = -1;
    if (!nivel.Escena)
        return false;
    EscenaNivel& escena = *nivel.Escena;
    const auto acierto = escena.Elegir(
        RayoPorPixel(MatrizGLM(vista), MatrizGLM(proyeccion), x, y, ancho, alto), opciones);
    if (!acierto) {
        Soltar(&nivel);
        return false;
    }
    parte_ = int32_t(acierto->Parte);
    if (nivel.Dibujo)
        nivel.Dibujo->Resaltar(parte_);
    QString titulo;
    const auto filas =
        DescribirAcierto(nivel, escena.Geometria().Partes[acierto->Parte].Duenio, acierto->Punto,
                         titulo);
    Describir(titulo, filas);
    return true;
}

bool PanelDetalles::ElegirEnObjeto(const NivelAbierto& nivel, const Ensamblaje& objeto,
                                     float angulo, const QString& nombre, const D3DXMATRIX& vista,
                                     const D3DXMATRIX& proyeccion, float x, float y, int ancho,
                                     int alto) {
    parte_ = -1;
    if (!nivel.Meshes)
        return false;
    const GeometriaElegible g = GeometriaDeEnsamblaje(objeto, *nivel.Meshes, angulo);
    const auto acierto =
        ElegirPrimero(g, RayoPorPixel(MatrizGLM(vista), MatrizGLM(proyeccion), x, y, ancho, alto));
    if (!acierto) {
        Soltar(nullptr);
        return false;
    }
    pieza_ = g.Partes[acierto->Parte].Duenio.Indice;
    const PiezaObjeto& p = objeto.Piezas[size_t(pieza_)];
    QList<QStringList> filas{
        {tr("Objeto"), nombre},
        {tr("Pieza del objeto"), tr("%1 de %2").arg(pieza_).arg(objeto.Piezas.size())},
        {tr("Índice en la lista de meshes"), QString::number(p.Mesh)},
        {tr("Cuelga de la pieza"), p.Padre < 0 ? tr("ninguna (raíz)") : QString::number(p.Padre)},
    };
    if (const trMesh* m = nivel.Mesh(p.Mesh))
        filas << QStringList{tr("Vértices, rectángulos, triángulos"),
                             QStringLiteral("%1, %2, %3")
                                 .arg(m->Vertices.size())
                                 .arg(m->Rectangulos.size())
                                 .arg(m->Triangulos.size())};
    Describir(tr("Mesh %1").arg(p.Mesh), filas);
    return true;
}

QList<QStringList> PanelDetalles::DescribirAcierto(const NivelAbierto& nivel,
                                                     const DuenioCara& duenio,
                                                     const glm::vec3& punto, QString& titulo) {
    using T = DuenioCara::Tipo;
    const trObjetos& objetos = nivel.Objetos;
    QList<QStringList> filas;
    // The point met, in the level's own axes (y down).
    const QString donde = Lugar(std::lround(punto.x), std::lround(-punto.y), std::lround(punto.z));
    switch (duenio.Clase) {
    case T::Item: {
        const trItem& it = objetos.Items.at(size_t(duenio.Indice));
        titulo = tr("Item %1").arg(duenio.Indice);
        QString movible = QString::number(it.Objeto);
        if (it.Objeto == int16_t(ID_LARA) && objetos.CuerpoLara != ID_LARA)
            movible += tr(" (Lara, con las meshes del movible %1)").arg(objetos.CuerpoLara);
        filas = {
            {tr("Movible"), movible},
            {tr("Cuarto"), QString::number(it.Cuarto)},
            {tr("Posición"), Lugar(it.X, it.Y, it.Z)},
            {tr("Ángulo"),
             QStringLiteral("%1 (%2)").arg(uint16_t(it.Angulo)).arg(Grados(uint16_t(it.Angulo)))},
            {tr("Bits de código"),
             QStringLiteral("%1 (%2)").arg(it.Codigo).arg(Hex(uint16_t(it.Codigo), 4))},
            {tr("Banderas"), Hex(it.Banderas, 4)},
            {tr("Índice en la lista de items"), QString::number(duenio.Indice)},
            {tr("Intensidad"), QString::number(it.Intensidad)},
        };
        break;
    }
    case T::Estatico: {
        const trEstaticoColocado& c = objetos.Colocaciones.at(size_t(duenio.Indice));
        titulo = tr("Estático %1").arg(c.Id);
        filas = {
            {tr("Id"), QString::number(c.Id)},
            {tr("Cuarto"), QString::number(c.Cuarto)},
            {tr("Lugar"), Lugar(c.X, c.Y, c.Z)},
            {tr("Giro"), QStringLiteral("%1 (%2)").arg(c.Rotacion).arg(Grados(c.Rotacion))},
            {tr("Intensidad"), QString::number(c.Intensidad)},
            {tr("Colocación"), tr("%1 de %2").arg(duenio.Indice).arg(objetos.Colocaciones.size())},
        };
        break;
    }
    case T::Cuarto:
    case T::Mesh: {
        const size_t r = size_t(duenio.Indice);
        titulo = tr("Cuarto %1").arg(duenio.Indice);
        if (!nivel.Nivel || r >= nivel.Nivel->Cuartos.size())
            break;
        const trCuarto& c = nivel.Nivel->Cuartos[r];
        const int64_t x0 = int32_t(c.Info[0]), z0 = int32_t(c.Info[1]);
        const int64_t abajo = int32_t(c.Info[2]), arriba = int32_t(c.Info[3]);
        filas = {
            {tr("Número"), QString::number(duenio.Indice)},
            {tr("Caja x"),
             QStringLiteral("%1 .. %2").arg(x0).arg(x0 + LADO_SECTOR * c.DimensionSectores2)},
            {tr("Caja y"), QStringLiteral("%1 .. %2").arg(arriba).arg(abajo)},
            {tr("Caja z"),
             QStringLiteral("%1 .. %2").arg(z0).arg(z0 + LADO_SECTOR * c.DimensionSectores1)},
            {tr("Sectores (x por z)"),
             QStringLiteral("%1 x %2").arg(c.DimensionSectores2).arg(c.DimensionSectores1)},
            {tr("Banderas"), Hex(uint16_t(c.Banderas), 4)},
            {tr("Cuarto alterno"),
             c.CuartoAlterno < 0 ? tr("ninguno") : QString::number(c.CuartoAlterno)},
            {tr("Punto"), donde},
        };
        if (const auto s = SectorEn(c, punto.x, punto.z)) {
            filas << QStringList{tr("Sector bajo el cursor"),
                                 tr("x %1, z %2").arg(s->X).arg(s->Z)}
                  << QStringList{tr("Altura del suelo"), QString::number(s->AlturaSuelo())}
                  << QStringList{tr("Altura del techo"), QString::number(s->AlturaTecho())}
                  << QStringList{tr("Caja del sector"), QString::number(s->Caja)}
                  << QStringList{tr("Cuarto debajo"),
                                 s->CuartoAbajo == 255 ? tr("ninguno")
                                                       : QString::number(s->CuartoAbajo)}
                  << QStringList{tr("Cuarto encima"), s->CuartoArriba == 255
                                                          ? tr("ninguno")
                                                          : QString::number(s->CuartoArriba)};
            if (const trSector* sector = SectorEn(nivel.Logica, r, punto.x, punto.z))
                filas << FilasDeSuelo(nivel.Logica, objetos.Items.size(), r, *sector);
        } else {
            filas << QStringList{tr("Sector bajo el cursor"), tr("fuera de la rejilla")};
        }
        return filas;
    }
    }
    filas << QStringList{tr("Punto"), donde};
    return filas;
}
