#include "LeerSectores.h"

#include "ConvencionesNivel.h"
#include "Idioma.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

constexpr uint32_t BYTES_SECTOR = 8;
constexpr uint16_t ULTIMA = 0x8000;
constexpr int32_t CLIC = 256;
// No sound chain holds more functions than there are kinds, nor a trigger hundreds of actions:
// past these a chain is taken for one that never ends (it would otherwise run on through the
// data of other sectors).
constexpr int MAXIMO_FUNCIONES = 32;
constexpr size_t MAXIMO_ACCIONES = 256;
// Real levels hold a few thousand sectors; a damaged grid stating millions is not expanded into
// records of tens of bytes each.
constexpr uint64_t MAXIMO_SECTORES = uint64_t{1} << 22;

int8_t Con5Bits(uint16_t v) {
    v &= 31;
    return int8_t(v >= 16 ? int(v) - 32 : int(v));
}

bool EsSuelo(int f) {
    return f == 7 || f == 8 || (f >= 11 && f <= 14);
}

// Floor and ceiling corners in the order the four nibbles of a triangulation's word name them.
// The floor's is the documented one; the ceiling's mirrors it along z, which is what the real
// levels' ceiling faces show (with the documented order hardly any of them meet their corners).
constexpr int NIBBLE_SUELO[4] = {2, 0, 1, 3};
constexpr int NIBBLE_TECHO[4] = {3, 1, 0, 2};

// The corner at the right angle of the half that is a portal, for functions 11..18.
constexpr int8_t MITAD_PORTAL[8] = {0, 3, 1, 2, 0, 3, 2, 1};

class Recorrido {
  public:
    Recorrido(const trNivel& nivel, trLogica& l, trFinAcciones fin)
        : l_(l), fin_(fin),
          datos_(reinterpret_cast<const uint8_t*>(nivel.DatosSuelo.data())),
          numDatos_(nivel.DatosSuelo.size() / 2), numItems_(nivel.Items.size() / 24) {}

    void Sector(uint32_t cuarto, uint32_t s, trSector& sec) {
        cuarto_ = cuarto;
        sector_ = s;
        const size_t numCuartos = l_.Cuartos.size();
        if (sec.CuartoAbajo != 255 && sec.CuartoAbajo >= numCuartos)
            Aviso(Formatear(Traducir("el cuarto de abajo, %s, no existe"),
                            {std::to_string(sec.CuartoAbajo)}));
        if (sec.CuartoArriba != 255 && sec.CuartoArriba >= numCuartos)
            Aviso(Formatear(Traducir("el cuarto de arriba, %s, no existe"),
                            {std::to_string(sec.CuartoArriba)}));
        sec.SueloS.Y.fill(int32_t{sec.Suelo} * CLIC);
        sec.TechoS.Y.fill(int32_t{sec.Techo} * CLIC);
        if (sec.IndiceDatos == 0)
            return;
        ++l_.SectoresConDatos;
        Cadena(sec);
        Alturas(sec);
    }

  private:
    uint16_t Palabra(size_t i) const { return Leer<uint16_t>(datos_ + 2 * i); }

    void Aviso(std::string texto) { l_.Avisos.push_back({cuarto_, sector_, std::move(texto)}); }
    void Pasado() {
        Aviso(Formatear(Traducir("la cadena de datos de suelo pasa del final (%s palabras)"),
                        {std::to_string(numDatos_)}));
    }

    void Cadena(trSector& sec) {
        size_t i = sec.IndiceDatos;
        if (i >= numDatos_) {
            Aviso(Formatear(Traducir("sus datos de suelo empiezan en %s, pasado el final (%s "
                                     "palabras)"),
                            {std::to_string(i), std::to_string(numDatos_)}));
            return;
        }
        for (int k = 0;; ++k) {
            if (k == MAXIMO_FUNCIONES) {
                Aviso(Traducir("la cadena de datos de suelo no termina"));
                return;
            }
            if (i >= numDatos_)
                return Pasado();
            const uint16_t w = Palabra(i++);
            const int f = w & 0x1F;
            if (f == 0 || f >= NUM_FUNCIONES_SUELO) {
                Aviso(Formatear(Traducir("función de suelo desconocida, %s"), {std::to_string(f)}));
                return;
            }
            const bool conPalabra = f <= 3 || (f >= 7 && f <= 18);
            if (conPalabra && i >= numDatos_)
                return Pasado();
            sec.Funciones |= 1u << f;
            ++l_.Funciones[size_t(f)];
            switch (f) {
            case 1: {
                const uint16_t cuarto = Palabra(i++);
                sec.Portal = cuarto;
                if (cuarto >= l_.Cuartos.size())
                    Aviso(Formatear(Traducir("el portal lleva al cuarto %s, que no existe"),
                                    {std::to_string(cuarto)}));
                break;
            }
            case 2:
            case 3: {
                const uint16_t v = Palabra(i++);
                trSuperficieSector& s = f == 2 ? sec.SueloS : sec.TechoS;
                s.Inclinada = true;
                s.InclinacionX = int8_t(v & 0xFF);
                s.InclinacionZ = int8_t(v >> 8);
                break;
            }
            case 4:
                if (!Disparador(sec, uint8_t((w >> 8) & 0x7F), i))
                    return;
                break;
            case 5:
                sec.Muerte = true;
                break;
            case 6:
                sec.Trepar = uint8_t((w >> 8) & 0x0F);
                break;
            case 19:
                sec.Mono = true;
                break;
            case 20:
                sec.DisparaDisparador = true;
                break;
            case 21:
                sec.Escarabajo = true;
                break;
            default: { // 7..18
                const uint16_t v = Palabra(i++);
                trSuperficieSector& s = EsSuelo(f) ? sec.SueloS : sec.TechoS;
                s.Triangulada = true;
                const bool unaDiagonal = f == 7 || f == 9 || f == 11 || f == 12 || f == 15 ||
                                         f == 16;
                s.Diagonal = unaDiagonal ? trDiagonal::Esquinas1y2 : trDiagonal::Esquinas0y3;
                s.MitadPortal = f >= 11 ? MITAD_PORTAL[f - 11] : -1;
                s.AlturaTriangulo[0] = Con5Bits(uint16_t(w >> 5));
                s.AlturaTriangulo[1] = Con5Bits(uint16_t(w >> 10));
                Triangulos(s, v, EsSuelo(f));
                break;
            }
            }
            if (w & ULTIMA)
                return;
        }
    }

    // False when the chain cannot go on past it.
    bool Disparador(trSector& sec, uint8_t tipo, size_t& i) {
        if (i >= numDatos_) {
            Pasado();
            return false;
        }
        const uint16_t preparacion = Palabra(i++);
        trDisparador d;
        d.Cuarto = cuarto_;
        d.Sector = sector_;
        const uint16_t numZ = l_.Cuartos[cuarto_].NumZ;
        d.X = uint16_t(sector_ / numZ);
        d.Z = uint16_t(sector_ % numZ);
        d.Tipo = tipo;
        d.Tiempo = int8_t(preparacion & 0xFF);
        d.UnaVez = (preparacion & 0x100) != 0;
        d.Mascara = uint8_t((preparacion >> 9) & 0x1F);
        if (tipo >= NUM_TIPOS_DISPARADOR)
            Aviso(Formatear(Traducir("tipo de disparador desconocido, %s"),
                            {std::to_string(tipo)}));
        bool sano = true;
        for (;;) {
            if (d.Acciones.size() == MAXIMO_ACCIONES) {
                Aviso(Traducir("las acciones del disparador no terminan"));
                sano = false;
                break;
            }
            if (i >= numDatos_) {
                Pasado();
                sano = false;
                break;
            }
            const uint16_t a = Palabra(i++);
            trAccion accion;
            accion.Tipo = uint8_t((a >> 10) & 0x1F);
            accion.Parametro = a & 0x3FF;
            uint16_t marca = a & ULTIMA;
            if (accion.Tipo == uint8_t(trTipoAccion::Camara) ||
                accion.Tipo == uint8_t(trTipoAccion::Vuelo)) {
                if (i >= numDatos_) {
                    Pasado();
                    sano = false;
                    break;
                }
                accion.ConExtra = true;
                accion.Extra = Palabra(i++);
                marca = accion.Extra & ULTIMA;
            }
            Comprobar(accion);
            d.Acciones.push_back(accion);
            if ((marca != 0) == (fin_ == trFinAcciones::Bit15Ultima))
                break;
        }
        if ((tipo == uint8_t(trTipoDisparador::Interruptor) ||
             tipo == uint8_t(trTipoDisparador::Llave)) &&
            !d.Acciones.empty() && d.Acciones[0].Tipo == uint8_t(trTipoAccion::Objeto))
            d.Item = d.Acciones[0].Parametro;
        sec.Disparador = int32_t(l_.Disparadores.size());
        l_.Disparadores.push_back(std::move(d));
        return sano;
    }

    // An action naming what the level lacks is kept as read, and said.
    void Comprobar(const trAccion& a) {
        const std::string p = std::to_string(a.Parametro);
        switch (trTipoAccion(a.Tipo)) {
        case trTipoAccion::Objeto:
        case trTipoAccion::MirarItem:
            if (a.Parametro >= numItems_)
                Aviso(Formatear(Traducir("la acción nombra el item %s; el nivel tiene %s"),
                                {p, std::to_string(numItems_)}));
            break;
        case trTipoAccion::Camara:
        case trTipoAccion::Corriente:
            if (a.Parametro >= l_.Camaras.size())
                Aviso(Formatear(Traducir("la acción nombra la cámara %s; el nivel tiene %s"),
                                {p, std::to_string(l_.Camaras.size())}));
            break;
        case trTipoAccion::Vuelo:
            if (a.Parametro >= l_.Secuencias.size() || l_.Secuencias[a.Parametro].empty())
                Aviso(Formatear(Traducir("la acción nombra la secuencia de vuelo %s, que no "
                                         "existe"),
                                {p}));
            break;
        default:
            if (a.Tipo >= NUM_TIPOS_ACCION)
                Aviso(Formatear(Traducir("acción desconocida, %s"), {std::to_string(a.Tipo)}));
            break;
        }
    }

    static void Triangulos(trSuperficieSector& s, uint16_t v, bool suelo) {
        s.Y = {}; // offsets for now; Alturas adds the sector's own height
        int nibbles[4];
        for (int k = 0; k < 4; ++k)
            nibbles[k] = (v >> (4 * k)) & 0xF;
        const int maximo = *std::max_element(nibbles, nibbles + 4);
        const int* esquina = suelo ? NIBBLE_SUELO : NIBBLE_TECHO;
        for (int k = 0; k < 4; ++k)
            s.Y[size_t(esquina[k])] = (suelo ? 1 : -1) * (maximo - nibbles[k]) * CLIC;
    }

    // A slant lowers the floor (raises the ceiling) from the sector's own height, which stays
    // its highest floor corner (lowest ceiling corner). Where a sector has both a slant and
    // triangles, the slant decides, as the documentation says the game does.
    static void Alturas(trSector& sec) {
        for (int techo = 0; techo < 2; ++techo) {
            trSuperficieSector& s = techo ? sec.TechoS : sec.SueloS;
            const int32_t base = int32_t{techo ? sec.Techo : sec.Suelo} * CLIC;
            if (s.Inclinada) {
                int v[4];
                for (int k = 0; k < 4; ++k) {
                    const int x = k >> 1, z = k & 1;
                    v[k] = -s.InclinacionX * x + (techo ? 1 : -1) * s.InclinacionZ * z;
                }
                const int ref = techo ? *std::max_element(v, v + 4) : *std::min_element(v, v + 4);
                for (int k = 0; k < 4; ++k)
                    s.Y[size_t(k)] = base + (v[k] - ref) * CLIC;
                s.Triangulada = false;
                s.Diagonal = trDiagonal::Ninguna;
                s.MitadPortal = -1;
            } else if (s.Triangulada) {
                for (int32_t& y : s.Y)
                    y += base;
            }
        }
    }

    trLogica& l_;
    trFinAcciones fin_;
    const uint8_t* datos_;
    size_t numDatos_, numItems_;
    uint32_t cuarto_ = 0, sector_ = 0;
};

template <class T, class F> std::vector<T> Registros(const trBytes& bytes, F leer) {
    std::vector<T> v(bytes.size() / T::BYTES_EN_ARCHIVO);
    for (size_t i = 0; i < v.size(); ++i)
        leer(bytes.data() + i * T::BYTES_EN_ARCHIVO, v[i]);
    return v;
}

void LeerMarcadores(const trNivel& nivel, trLogica& l) {
    l.Camaras = Registros<trCamara>(nivel.Camaras, [](const uint8_t* p, trCamara& c) {
        c = {Leer<int32_t>(p), Leer<int32_t>(p + 4), Leer<int32_t>(p + 8), Leer<int16_t>(p + 12),
             Leer<uint16_t>(p + 14)};
    });
    l.CamarasVuelo =
        Registros<trCamaraVuelo>(nivel.CamarasVuelo, [](const uint8_t* p, trCamaraVuelo& c) {
            c.X = Leer<int32_t>(p);
            c.Y = Leer<int32_t>(p + 4);
            c.Z = Leer<int32_t>(p + 8);
            c.HaciaX = Leer<int32_t>(p + 12);
            c.HaciaY = Leer<int32_t>(p + 16);
            c.HaciaZ = Leer<int32_t>(p + 20);
            c.Secuencia = p[24];
            c.Indice = p[25];
            c.Campo = Leer<uint16_t>(p + 26);
            c.Giro = Leer<int16_t>(p + 28);
            c.Tiempo = Leer<uint16_t>(p + 30);
            c.Velocidad = Leer<uint16_t>(p + 32);
            c.Banderas = Leer<uint16_t>(p + 34);
            c.Cuarto = Leer<int32_t>(p + 36);
        });
    l.FuentesSonido =
        Registros<trFuenteSonido>(nivel.FuentesSonido, [](const uint8_t* p, trFuenteSonido& f) {
            f = {Leer<int32_t>(p), Leer<int32_t>(p + 4), Leer<int32_t>(p + 8),
                 Leer<uint16_t>(p + 12), Leer<uint16_t>(p + 14)};
        });
    for (uint32_t i = 0; i < l.CamarasVuelo.size(); ++i) {
        const uint8_t s = l.CamarasVuelo[i].Secuencia;
        if (s >= l.Secuencias.size())
            l.Secuencias.resize(size_t{s} + 1);
        l.Secuencias[s].push_back(i);
    }
    for (auto& secuencia : l.Secuencias)
        std::stable_sort(secuencia.begin(), secuencia.end(), [&](uint32_t a, uint32_t b) {
            return l.CamarasVuelo[a].Indice < l.CamarasVuelo[b].Indice;
        });
}

} // namespace

trLogica LeerLogica(const trNivel& nivel, trFinAcciones fin) {
    trLogica l;
    LeerMarcadores(nivel, l);
    l.Cuartos.resize(nivel.Cuartos.size());
    uint64_t total = 0;
    for (size_t r = 0; r < nivel.Cuartos.size(); ++r) {
        const trCuarto& c = nivel.Cuartos[r];
        trCuartoLogica& cl = l.Cuartos[r];
        cl.X = int32_t(c.Info[0]);
        cl.Z = int32_t(c.Info[1]);
        cl.Banderas = uint16_t(c.Banderas);
        cl.Alterno = c.CuartoAlterno;
        cl.GrupoAlterno = c.GrupoAlterno;
        // Position, then red, green, blue, type, a byte nothing uses, intensity; the cone's
        // floats after them are not needed here.
        cl.Luces.resize(c.Luces.size() / trLuzCuarto::BYTES_EN_ARCHIVO);
        for (size_t i = 0; i < cl.Luces.size(); ++i) {
            const uint8_t* p = c.Luces.data() + trLuzCuarto::BYTES_EN_ARCHIVO * i;
            trLuzCuarto& luz = cl.Luces[i];
            luz.X = Leer<int32_t>(p);
            luz.Y = Leer<int32_t>(p + 4);
            luz.Z = Leer<int32_t>(p + 8);
            luz.Rojo = p[12];
            luz.Verde = p[13];
            luz.Azul = p[14];
            luz.Tipo = p[15];
            luz.Intensidad = p[17];
        }
        const uint64_t n = c.Sectores.size() / BYTES_SECTOR;
        if (total + n > MAXIMO_SECTORES) {
            l.Avisos.push_back({uint32_t(r), 0,
                                Formatear(Traducir("demasiados sectores (%s); no se leen"),
                                          {std::to_string(total + n)})});
            continue;
        }
        total += n;
        cl.NumZ = c.DimensionSectores1;
        cl.NumX = c.DimensionSectores2;
        cl.Sectores.resize(size_t(n));
        for (size_t s = 0; s < n; ++s) {
            const uint8_t* p = c.Sectores.data() + BYTES_SECTOR * s;
            trSector& sec = cl.Sectores[s];
            sec.IndiceDatos = Leer<uint16_t>(p);
            sec.Caja = Leer<uint16_t>(p + 2);
            sec.CuartoAbajo = p[4];
            sec.Suelo = int8_t(p[5]);
            sec.CuartoArriba = p[6];
            sec.Techo = int8_t(p[7]);
        }
    }
    l.Sectores = uint32_t(total);
    Recorrido recorrido(nivel, l, fin);
    for (size_t r = 0; r < l.Cuartos.size(); ++r)
        for (size_t s = 0; s < l.Cuartos[r].Sectores.size(); ++s)
            recorrido.Sector(uint32_t(r), uint32_t(s), l.Cuartos[r].Sectores[s]);
    return l;
}

const trSector* SectorEn(const trLogica& logica, size_t cuarto, double x, double z) {
    if (cuarto >= logica.Cuartos.size())
        return nullptr;
    const trCuartoLogica& c = logica.Cuartos[cuarto];
    const double columna = CeldaSector(x, c.X), fila = CeldaSector(z, c.Z);
    if (!(columna >= 0 && fila >= 0 && columna < c.NumX && fila < c.NumZ))
        return nullptr;
    const size_t s = size_t(columna) * c.NumZ + size_t(fila);
    return s < c.Sectores.size() ? &c.Sectores[s] : nullptr;
}

namespace {
const char* const CLAVE_FUNCION[NUM_FUNCIONES_SUELO] = {
    "",       "portal", "floor_slant", "ceiling_slant", "trigger", "kill", "climb", "", "", "", "",
    "",       "",       "",            "",              "",        "",     "",      "", "monkey",
    "trigger_triggerer", "beetle"};
const char* const CLAVE_DISPARADOR[NUM_TIPOS_DISPARADOR] = {
    "trigger", "pad",   "switch",      "key",          "pickup",           "heavy", "antipad",
    "combat",  "dummy", "antitrigger", "heavy_switch", "heavy_antitrigger", "monkey"};
const char* const CLAVE_ACCION[NUM_TIPOS_ACCION] = {
    "object",     "camera", "current", "flipmap",      "flip_on", "flip_off", "look_at",
    "end_level", "soundtrack", "flipeffect", "secret", "clear_bodies", "flyby", "cutscene"};
const char* const NOMBRE_DISPARADOR[NUM_TIPOS_DISPARADOR] = {
    PorTraducir("disparador"),        PorTraducir("placa"),
    PorTraducir("interruptor"),       PorTraducir("llave"),
    PorTraducir("recoger"),           PorTraducir("pesado"),
    PorTraducir("antiplaca"),         PorTraducir("combate"),
    PorTraducir("ficticio"),          PorTraducir("antidisparador"),
    PorTraducir("interruptor pesado"), PorTraducir("antidisparador pesado"),
    PorTraducir("mono")};
const char* const NOMBRE_ACCION[NUM_TIPOS_ACCION] = {
    PorTraducir("objeto"),          PorTraducir("cámara"),
    PorTraducir("corriente"),       PorTraducir("mapa alterno"),
    PorTraducir("alterno encendido"), PorTraducir("alterno apagado"),
    PorTraducir("mirar item"),      PorTraducir("fin de nivel"),
    PorTraducir("música"),          PorTraducir("efecto"),
    PorTraducir("secreto"),         PorTraducir("limpiar cuerpos"),
    PorTraducir("vuelo"),           PorTraducir("cinemática")};
} // namespace

const char* ClaveFuncion(int funcion) {
    return funcion > 0 && funcion < NUM_FUNCIONES_SUELO ? CLAVE_FUNCION[funcion] : "";
}
const char* ClaveDisparador(uint8_t tipo) {
    return tipo < NUM_TIPOS_DISPARADOR ? CLAVE_DISPARADOR[tipo] : "unknown";
}
const char* ClaveAccion(uint8_t tipo) {
    return tipo < NUM_TIPOS_ACCION ? CLAVE_ACCION[tipo] : "unknown";
}
const char* NombreDisparador(uint8_t tipo) {
    return tipo < NUM_TIPOS_DISPARADOR ? Traducir(NOMBRE_DISPARADOR[tipo])
                                       : Traducir("desconocido");
}
const char* NombreAccion(uint8_t tipo) {
    return tipo < NUM_TIPOS_ACCION ? Traducir(NOMBRE_ACCION[tipo]) : Traducir("desconocida");
}

std::string TextoAviso(const trLogica& logica, const trAvisoSuelo& aviso) {
    const uint16_t numZ =
        aviso.Cuarto < logica.Cuartos.size() ? logica.Cuartos[aviso.Cuarto].NumZ : uint16_t(0);
    if (numZ == 0)
        return Formatear(Traducir("cuarto %s: %s"), {std::to_string(aviso.Cuarto), aviso.Texto});
    return Formatear(Traducir("cuarto %s, x %s, z %s: %s"),
                     {std::to_string(aviso.Cuarto), std::to_string(aviso.Sector / numZ),
                      std::to_string(aviso.Sector % numZ), aviso.Texto});
}

std::string TextoDisparador(const trDisparador& d) {
    std::string texto = Formatear(Traducir("%s, tiempo %s, máscara %s"),
                                  {NombreDisparador(d.Tipo), std::to_string(d.Tiempo),
                                   std::to_string(d.Mascara)});
    if (d.UnaVez)
        texto += Traducir(", una vez");
    texto += ":";
    for (size_t k = 0; k < d.Acciones.size(); ++k) {
        const trAccion& a = d.Acciones[k];
        texto += (k ? ", " : " ");
        if (k == 0 && d.Item >= 0)
            texto += Formatear(d.Tipo == uint8_t(trTipoDisparador::Llave)
                                   ? Traducir("cerradura %s")
                                   : Traducir("palanca %s"),
                               {std::to_string(a.Parametro)});
        else
            texto += std::string(NombreAccion(a.Tipo)) + " " + std::to_string(a.Parametro);
        if (a.ConExtra) {
            if (a.Tipo == uint8_t(trTipoAccion::Camara))
                texto += Formatear(Traducir(" (%s s)"), {std::to_string(a.Tiempo())});
            if (a.UnaVez())
                texto += Traducir(" (una vez)");
        }
    }
    return texto;
}
