#include "CuartoClasico.h"
#include "Idioma.h"
#include "LeerClasico.h"

#include <algorithm>
#include <cstring>

namespace clasico {

namespace {

void VerticesCuarto(const uint8_t* p, uint64_t cuenta, int juego, trBytes& destino) {
    destino.clear();
    destino.reserve(cuenta * 12);
    const uint32_t paso = juego == 1 ? 8 : 12;
    for (uint64_t i = 0; i < cuenta; ++i, p += paso) {
        destino.insert(destino.end(), p, p + 8); // x, y, z and the grey level
        const int16_t luz = Leer<int16_t>(p + 6);
        Poner<uint16_t>(destino, juego == 1 ? 0 : Leer<uint16_t>(p + 8));
        // The third game paints rooms in colour; the others in grey levels.
        Poner<uint16_t>(destino, juego == 3 ? Leer<uint16_t>(p + 10) : ColorDeLuzClasica(luz));
    }
}

// A room light as a fourth-game point light: position, colour, intensity and the fade distance.
void LucesCuarto(const uint8_t* p, uint64_t cuenta, int juego, trBytes& destino) {
    destino.clear();
    destino.reserve(cuenta * 46);
    const uint32_t paso = juego == 1 ? 18 : 24;
    for (uint64_t i = 0; i < cuenta; ++i, p += paso) {
        destino.insert(destino.end(), p, p + 12);
        uint8_t rgb[3];
        int32_t intensidad = 0, desvanecer = 0;
        if (juego == 3) {
            std::memcpy(rgb, p + 12, 3);
            intensidad = Leer<int32_t>(p + 16);
            desvanecer = Leer<int32_t>(p + 20);
        } else {
            intensidad = Leer<uint16_t>(p + 12);
            desvanecer = int32_t(Leer<uint32_t>(p + (juego == 1 ? 14 : 16)));
            const uint8_t gris = uint8_t(std::clamp(intensidad, 0, 8191) >> 5);
            rgb[0] = rgb[1] = rgb[2] = gris;
        }
        destino.insert(destino.end(), rgb, rgb + 3);
        destino.push_back(1); // a point light
        destino.push_back(0);
        destino.push_back(uint8_t(std::clamp(intensidad, 0, 8191) >> 5));
        Poner<float>(destino, 0.0f);
        Poner<float>(destino, float(desvanecer));
        for (int k = 0; k < 5; ++k)
            Poner<float>(destino, 0.0f);
    }
}

void EstaticosCuarto(const uint8_t* p, uint64_t cuenta, int juego, trBytes& destino) {
    destino.clear();
    if (juego != 1) {
        destino.assign(p, p + cuenta * 20); // laid out as the fourth game's
        return;
    }
    destino.reserve(cuenta * 20);
    for (uint64_t i = 0; i < cuenta; ++i, p += 18) {
        destino.insert(destino.end(), p, p + 16);      // position, turn, intensity
        destino.insert(destino.end(), p + 14, p + 18); // intensity again, then the static's id
    }
}

} // namespace

void LeerCuarto(Flujo& f, const Disposicion& d, int juego, trCuarto& c, const std::string& quien) {
    auto nombre = [&](const char* campo) { return quien + ", " + Traducir(campo); };
    if (const uint8_t* info = f.Tomar(1, sizeof c.Info, nombre(PorTraducir("su información"))))
        std::memcpy(c.Info, info, sizeof c.Info);
    c.NumPalabrasDatos = f.Valor<uint32_t>(nombre(PorTraducir("su número de palabras")));

    Flujo g = f.Seccion(2 * uint64_t{c.NumPalabrasDatos}, nombre(PorTraducir("su geometría")));
    c.NumVertices = g.Valor<int16_t>(nombre(PorTraducir("los vértices")));
    if (const uint8_t* v =
            g.Tomar(Positivo(c.NumVertices), d.verticeCuarto, nombre(PorTraducir("los vértices"))))
        VerticesCuarto(v, Positivo(c.NumVertices), juego, c.Vertices);
    c.NumRectangulos = g.Valor<int16_t>(nombre(PorTraducir("los rectángulos")));
    g.Copiar(c.Rectangulos, Positivo(c.NumRectangulos), 10, nombre(PorTraducir("los rectángulos")));
    c.NumTriangulos = g.Valor<int16_t>(nombre(PorTraducir("los triángulos")));
    g.Copiar(c.Triangulos, Positivo(c.NumTriangulos), 8, nombre(PorTraducir("los triángulos")));
    c.NumSprites = g.Valor<int16_t>(nombre(PorTraducir("los sprites")));
    g.Copiar(c.Sprites, Positivo(c.NumSprites), 4, nombre(PorTraducir("los sprites")));
    f.Absorber(g);

    c.NumPortales = f.Valor<uint16_t>(nombre(PorTraducir("el número de portales")));
    f.Copiar(c.Portales, c.NumPortales, 32, nombre(PorTraducir("los portales")));
    c.DimensionSectores1 = f.Valor<uint16_t>(nombre(PorTraducir("la rejilla de sectores")));
    c.DimensionSectores2 = f.Valor<uint16_t>(nombre(PorTraducir("la rejilla de sectores")));
    f.Copiar(c.Sectores, uint64_t{c.DimensionSectores1} * c.DimensionSectores2, 8,
             nombre(PorTraducir("los sectores")));
    if (const uint8_t* a = f.Tomar(1, d.ambiente, nombre(PorTraducir("su color")))) {
        // The fourth game's ambient colour: A, R in the high word, G, B in the low one.
        const uint16_t gris = uint16_t(std::clamp((8191 - int(Leer<int16_t>(a))) >> 5, 0, 255));
        c.ColorBajo = uint16_t(gris << 8 | gris);
        c.ColorAlto = uint16_t(0xFF00 | gris);
    }
    c.NumLuces = f.Valor<uint16_t>(nombre(PorTraducir("el número de luces")));
    if (const uint8_t* l = f.Tomar(c.NumLuces, d.luzCuarto, nombre(PorTraducir("las luces"))))
        LucesCuarto(l, c.NumLuces, juego, c.Luces);
    c.NumMeshesEstaticos = f.Valor<uint16_t>(nombre(PorTraducir("el número de meshes estáticos")));
    if (const uint8_t* e = f.Tomar(c.NumMeshesEstaticos, d.estaticoCuarto,
                                   nombre(PorTraducir("los meshes estáticos"))))
        EstaticosCuarto(e, c.NumMeshesEstaticos, juego, c.MeshesEstaticos);
    c.CuartoAlterno = f.Valor<int16_t>(nombre(PorTraducir("su cuarto alterno")));
    c.Banderas = f.Valor<int16_t>(nombre(PorTraducir("sus banderas")));
    if (d.colaCuarto != 0)
        if (const uint8_t* t = f.Tomar(1, d.colaCuarto, nombre(PorTraducir("sus últimos bytes")))) {
            c.EsquemaAgua = t[0];
            c.Reverberacion = t[1];
        }
}

} // namespace clasico

uint16_t ColorDeLuzClasica(int16_t luz) {
    const int c = std::clamp((8191 - int(luz)) >> 8, 0, 31);
    return uint16_t(c << 10 | c << 5 | c);
}
