#include "AnimacionesGLTF.h"
#include "TablaNombres.h"

#include "ArmarElegido.h"
#include "BufferGLTF.h"
#include "EjesGLTF.h"
#include "Idioma.h"
#include "NivelAbierto.h"
#include "PoseMovible.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <tiny_gltf.h>

#include <charconv>

namespace {

// The game frames sampled: every keyframe's within the animation, and its last.
std::vector<uint32_t> Muestras(const trAnimacion& a) {
    std::vector<uint32_t> f;
    for (uint32_t k = 0; k * a.Tasa <= a.Duracion(); ++k)
        f.push_back(k * a.Tasa);
    if (f.back() != a.Duracion())
        f.push_back(a.Duracion());
    return f;
}

void Animar(tinygltf::Model& modelo, const NivelAbierto& nivel, const trMovible& esqueleto,
            const Ensamblaje& objeto, int primerNodo, uint32_t indice, float escala) {
    const trAnimaciones& todas = nivel.Objetos.Animaciones;
    const std::vector<uint32_t> cuadros = Muestras(todas.Animaciones[indice]);
    // The joints follow their limbs' nodes through the model's skin: only the limbs move.
    size_t piezas = 0;
    while (piezas < objeto.Piezas.size() && objeto.Piezas[piezas].Junta < 0)
        ++piezas;
    std::vector<std::vector<float>> giros(piezas), posiciones(piezas);
    std::vector<float> tiempos;
    std::vector<glm::mat4> mundos;
    std::vector<glm::mat4> modelo_(piezas);
    for (uint32_t f : cuadros) {
        if (!PosarMovible(*nivel.Nivel, todas, esqueleto, indice, f, mundos))
            return;
        tiempos.push_back(float(f / CUADROS_POR_SEGUNDO));
        for (size_t i = 0; i < piezas; ++i) {
            const PiezaObjeto& p = objeto.Piezas[i];
            modelo_[i] = EnModelo(mundos[size_t(p.Nodo)], escala);
            const bool hija = p.Padre >= 0 && size_t(p.Padre) < i;
            const glm::mat4 local =
                hija ? glm::inverse(modelo_[size_t(p.Padre)]) * modelo_[i] : modelo_[i];
            glm::quat q = glm::normalize(glm::quat_cast(glm::mat3(local)));
            // Each sample in the half of the sphere of the one before: LINEAR then takes the
            // short way between them, as the game's interpolation does.
            auto& g = giros[i];
            if (g.size() >= 4 &&
                q.x * g[g.size() - 4] + q.y * g[g.size() - 3] + q.z * g[g.size() - 2] +
                        q.w * g[g.size() - 1] <
                    0)
                q = -q;
            g.insert(g.end(), {q.x, q.y, q.z, q.w});
            posiciones[i].insert(posiciones[i].end(), {local[3].x, local[3].y, local[3].z});
        }
    }
    tinygltf::Animation animacion;
    animacion.name = "animacion_" + std::to_string(indice);
    const int entrada = AgregarAccesor(modelo, tiempos, TINYGLTF_TYPE_SCALAR, 1, true, 0);
    for (size_t i = 0; i < piezas; ++i) {
        for (const char* camino : {"rotation", "translation"}) {
            const bool giro = camino[0] == 'r';
            tinygltf::AnimationSampler s;
            s.input = entrada;
            s.output = giro
                           ? AgregarAccesor(modelo, giros[i], TINYGLTF_TYPE_VEC4, 4, false, 0)
                           : AgregarAccesor(modelo, posiciones[i], TINYGLTF_TYPE_VEC3, 3, false, 0);
            s.interpolation = "LINEAR";
            animacion.samplers.push_back(s);
            tinygltf::AnimationChannel c;
            c.sampler = int(animacion.samplers.size() - 1);
            c.target_node = primerNodo + int(i);
            c.target_path = camino;
            animacion.channels.push_back(c);
        }
    }
    modelo.animations.push_back(std::move(animacion));
}

} // namespace

Hecho ExportarMovibleAnimado(
    const NivelAbierto& nivel, int64_t id, const AnimacionesElegidas& e, float escala,
    tinygltf::Model& modelo,
    const std::function<int(const Ensamblaje&, const std::string&)>& objeto) {
    trMovible movible;
    if (Hecho h = MovibleElegido(nivel, id, e.MeshesDe, movible); !h)
        return h;
    std::vector<uint32_t> lista = e.Animaciones;
    if (e.Todas) {
        lista.clear();
        for (uint32_t i = 0; i < movible.NumAnimaciones; ++i)
            if (nivel.Objetos.Animaciones.Animaciones[movible.Animacion + i].Jugable())
                lista.push_back(movible.Animacion + i);
    }
    for (uint32_t a : lista)
        if (Hecho h = AnimacionJugable(nivel, movible, a); !h)
            return h;
    static const Lista_Mesh vacia;
    const Ensamblaje armado =
        ArmarMovible(movible, nivel.Meshes ? *nivel.Meshes : vacia, nivel.Articulaciones);
    const int raiz = objeto(armado, ConNombre("movible_" + std::to_string(id),
                                              NombresDeJuego(nivel.Objetos.Juego).Movible(uint32_t(id))));
    if (modelo.buffers.empty())
        modelo.buffers.resize(1);
    for (uint32_t a : lista)
        Animar(modelo, nivel, movible, armado, raiz + 1, a, escala);
    return {};
}

Hecho LeerListaAnimaciones(const std::string& texto, AnimacionesElegidas& e) {
    auto malformada = [] {
        return Hecho::Fallo(
            Traducir("se espera all o índices de la lista del nivel separados por comas"));
    };
    if (texto == "all") {
        e.Todas = true;
        return {};
    }
    e.Animaciones.clear();
    size_t inicio = 0;
    while (inicio <= texto.size()) {
        const size_t coma = std::min(texto.find(',', inicio), texto.size());
        uint32_t a = 0;
        const char* p = texto.data() + inicio;
        const auto [resto, error] = std::from_chars(p, texto.data() + coma, a);
        if (error != std::errc() || resto != texto.data() + coma || coma == inicio || a > 0xFFFF)
            return malformada();
        e.Animaciones.push_back(a);
        inicio = coma + 1;
    }
    return e.Animaciones.empty() ? malformada() : Hecho();
}
