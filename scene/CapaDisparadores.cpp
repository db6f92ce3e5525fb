#include "CapaDisparadores.h"

#include "ClasesAlternas.h"
#include "ConvencionesNivel.h"

namespace {

// One colour a trigger type, far enough apart to tell at a glance and dim enough that added to
// a lit floor they do not all wash out to white.
constexpr uint32_t COLOR_TIPO[NUM_TIPOS_DISPARADOR] = {
    0xFF806000, // trigger: amber
    0xFF006080, // pad: teal
    0xFF008000, // switch: green
    0xFF800080, // key: magenta
    0xFF0040A0, // pickup: blue
    0xFF604020, // heavy: brown
    0xFF408080, // antipad
    0xFFA04000, // combat: orange
    0xFF404040, // dummy: grey
    0xFF6000A0, // antitrigger: violet
    0xFF40A040, // heavy switch
    0xFFA060A0, // heavy antitrigger
    0xFFA0A000, // monkey
};

constexpr int8_t PARED = -127; // a sector that is solid wall

} // namespace

uint32_t CapaDisparadores::ColorTipo(uint8_t tipo) {
    return tipo < NUM_TIPOS_DISPARADOR ? COLOR_TIPO[tipo] : 0xFF808080;
}

uint32_t CapaDisparadores::ColorSector(const trLogica& l, const trSector& s) {
    if (s.Muerte)
        return ROJO_MUERTE;
    if (s.Disparador >= 0 && size_t(s.Disparador) < l.Disparadores.size())
        return ColorTipo(l.Disparadores[size_t(s.Disparador)].Tipo);
    return 0;
}

std::vector<VerticeEscena> CapaDisparadores::Vertices(const trLogica& l,
                                                      std::vector<uint32_t>& hasta) {
    const ClasesAlternas clases(l.Cuartos);
    hasta.assign(clases.NumClases(), 0);
    std::vector<VerticeEscena> v;
    for (uint32_t c = 0; c < clases.NumClases(); ++c) {
        for (size_t r = 0; r < l.Cuartos.size(); ++r) {
            const trCuartoLogica& cuarto = l.Cuartos[r];
            if (clases.Clase(r) != c || cuarto.NumZ == 0)
                continue;
            for (size_t s = 0; s < cuarto.Sectores.size(); ++s) {
                const trSector& sector = cuarto.Sectores[s];
                const uint32_t color = ColorSector(l, sector);
                if (color == 0 || sector.Suelo == PARED)
                    continue;
                const float x0 = PosicionSector(cuarto.X, float(s / cuarto.NumZ));
                const float z0 = PosicionSector(cuarto.Z, float(s % cuarto.NumZ));
                // Corner k is 2 x + z.
                auto esquina = [&](int k) {
                    const float lado = float(LADO_SECTOR);
                    const float y = float(YEnDispositivo(sector.SueloS.Y[size_t(k)]));
                    return VerticeEscena{x0 + lado * float(k >> 1),
                                         y + ALTURA,
                                         z0 + lado * float(k & 1),
                                         0,
                                         0,
                                         PAGINA_NINGUNA,
                                         color};
                };
                for (int k : {0, 2, 3, 0, 3, 1})
                    v.push_back(esquina(k));
            }
        }
        hasta[c] = uint32_t(v.size());
    }
    return v;
}
