#include "ExportarGLTF.h"

#include "ArmarElegido.h"
#include "CodificarPNG.h"
#include "ConvencionesNivel.h"
#include "EjesGLTF.h"
#include "Ensamblaje.h"
#include "Idioma.h"
#include "LeerCuartos.h"
#include "NivelAbierto.h"
#include "PaginasPNG.h"
#include "trMezcla.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstring>
#ifndef TR4_SIN_ARCHIVOS
#include <filesystem>
#include <fstream>
#endif
#include <iterator>
#include <limits>
#include <map>
#include <span>
#include <streambuf>
#include <ostream>
#ifndef TR4_SIN_HILOS
#include <thread>
#endif

namespace {

constexpr int NEAREST = 9728, REPEAT = 10497;
constexpr int ARRAY_BUFFER = 34962, ELEMENT_ARRAY_BUFFER = 34963;
constexpr int32_t SIN_TEXTURA = -1;

const char* const UNLIT = "KHR_materials_unlit";

// A face's page as the viewer converts it; past the textures or the pages it is untextured.
int32_t PaginaDeCara(const NivelAbierto& n, uint16_t textura, bool triangulo,
                     const trTexturaObjeto*& t) {
    t = nullptr;
    const trTexturaObjeto* objeto = n.Nivel ? TexturaObjeto(*n.Nivel, textura) : nullptr;
    if (!objeto)
        return SIN_TEXTURA;
    const int32_t pagina = int32_t(PaginaDeTextura(*objeto, triangulo));
    if (!n.Texturas || !n.Texturas->GetTexels(pagina))
        return SIN_TEXTURA;
    t = objeto;
    return pagina;
}

// A display value (0..1, what the viewer puts on screen) as the linear light glTF's vertex
// colours hold: the sRGB curve undone. Left as they were, dim rooms came out about twice as
// bright in other programs as in the viewer.
float Lineal(float pantalla) {
    return pantalla <= 0.04045f ? pantalla / 12.92f
                                : std::pow((pantalla + 0.055f) / 1.055f, 2.4f);
}

// A room vertex's channel as the viewer hands it to the device (one byte), in linear light.
float CanalLineal(uint16_t color, int desplazamiento) {
    return Lineal(std::round(LuzCanal(color, desplazamiento) * 255) / 255);
}

// A corner in the level's own integer units, where an area is exactly zero or not.
using Esquina = std::array<int64_t, 3>;

bool ConArea(const Esquina& a, const Esquina& b, const Esquina& c) {
    const Esquina u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const Esquina v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return u[1] * v[2] != u[2] * v[1] || u[2] * v[0] != u[0] * v[2] || u[0] * v[1] != u[1] * v[0];
}

// A face's corners as the model's triangles, wound counter-clockwise where the viewer's were
// clockwise; a rectangle's corners go round it and the viewer splits it along 1-3. Triangles
// without area are left out (other programs make points and lines of them); how many corner
// numbers were put in `triangulos`: 0, 3 or 6.
int TriangulosCara(const Esquina* e, int esquinas, int (&triangulos)[6]) {
    static constexpr int RECTANGULO[2][3] = {{0, 3, 1}, {1, 3, 2}};
    static constexpr int TRIANGULO[1][3] = {{0, 2, 1}};
    int n = 0;
    for (const auto& t : esquinas == 4 ? std::span<const int[3]>(RECTANGULO)
                                       : std::span<const int[3]>(TRIANGULO))
        if (ConArea(e[t[0]], e[t[1]], e[t[2]]))
            for (int k : t)
                triangulos[n++] = k;
    return n;
}

// The faces of one mesh that share a material, unshared vertex by vertex: a level vertex takes a
// different texel on each face that uses it.
struct Grupo {
    std::vector<float> posiciones, normales, uv, colores;
    std::vector<uint32_t> indices;

    // The triangles of one face: each corner they use added once, by `vertice(k)`, which appends
    // corner k's attributes.
    template <class F> void Agregar(const int* triangulos, int n, F vertice) {
        uint32_t nuevo[4] = {UINT32_MAX, UINT32_MAX, UINT32_MAX, UINT32_MAX};
        for (int i = 0; i < n; ++i) {
            const int k = triangulos[i];
            if (nuevo[k] == UINT32_MAX) {
                nuevo[k] = uint32_t(posiciones.size() / 3);
                vertice(k);
            }
            indices.push_back(nuevo[k]);
        }
    }
};

// What makes faces share a material: their page (SIN_TEXTURA for none), sidedness and blend
// mode. An untextured face is drawn plain white, opaque.
struct ClaveMaterial {
    int32_t Pagina = SIN_TEXTURA;
    bool Doble = false;
    trMezcla Mezcla = trMezcla::Opaca;
    auto operator<=>(const ClaveMaterial&) const = default;
};

// An output stream's bytes appended to a vector.
class FlujoEnVector : public std::streambuf {
  public:
    explicit FlujoEnVector(std::vector<uint8_t>& destino) : destino_(destino) {}

  protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        destino_.insert(destino_.end(), s, s + n);
        return n;
    }
    int_type overflow(int_type c) override {
        if (c != traits_type::eof())
            destino_.push_back(uint8_t(c));
        return traits_type::not_eof(c);
    }

  private:
    std::vector<uint8_t>& destino_;
};

class Modelo {
  public:
    Modelo(const NivelAbierto& nivel, float escala, bool binario)
        : nivel_(nivel), escala_(escala), binario_(binario) {
        m_.asset.version = "2.0";
        m_.asset.generator = "tr4visor";
        m_.buffers.resize(1);
        m_.scenes.resize(1);
        m_.defaultScene = 0;
    }

    // The object's node tree, its root named `nombre` and moved by `desplazamiento`; the root's
    // index. Each piece hangs from its parent piece, turned and placed relative to it.
    int Objeto(const Ensamblaje& e, const std::string& nombre, const glm::vec3& desplazamiento,
               const glm::quat& giro = glm::quat(1, 0, 0, 0)) {
        tinygltf::Node raiz;
        raiz.name = nombre;
        if (desplazamiento != glm::vec3(0))
            raiz.translation = {desplazamiento.x, desplazamiento.y, desplazamiento.z};
        if (giro != glm::quat(1, 0, 0, 0))
            raiz.rotation = {giro.x, giro.y, giro.z, giro.w};
        const int indiceRaiz = int(m_.nodes.size());
        m_.nodes.push_back(raiz);
        std::vector<glm::mat4> mundos;
        std::vector<int> nodos;
        for (const PiezaObjeto& p : e.Piezas) {
            mundos.push_back(EnModelo(p.Mundo, escala_));
            const bool hija = p.Padre >= 0 && size_t(p.Padre) < nodos.size();
            const glm::mat4 local = hija ? glm::inverse(mundos[size_t(p.Padre)]) * mundos.back()
                                         : mundos.back();
            tinygltf::Node n;
            n.name = "mesh_" + std::to_string(p.Mesh);
            n.mesh = Mesh(p.Mesh);
            const glm::vec3 t(local[3]);
            if (t != glm::vec3(0))
                n.translation = {t.x, t.y, t.z};
            const glm::quat q = glm::normalize(glm::quat_cast(glm::mat3(local)));
            if (std::abs(q.w) < 1 - 1e-7f)
                n.rotation = {q.x, q.y, q.z, q.w};
            nodos.push_back(int(m_.nodes.size()));
            m_.nodes.push_back(n);
            m_.nodes[size_t(hija ? nodos[size_t(p.Padre)] : indiceRaiz)].children.push_back(
                nodos.back());
        }
        m_.scenes[0].nodes.push_back(indiceRaiz);
        return indiceRaiz;
    }

    // A room as one node holding its faces where the world has them, lit by its vertex colours;
    // a room without faces is left out.
    void Cuarto(const trGeometriaCuarto& g, size_t indice) {
        std::map<ClaveMaterial, Grupo> grupos;
        for (const trCaraCuarto& c : g.Caras) {
            Esquina e[4];
            for (int k = 0; k < c.Lados; ++k) {
                const trVerticeCuarto& v = g.Vertices[c.Vertices[k]];
                e[k] = {v.X, v.Y, v.Z};
            }
            int triangulos[6];
            const int n = TriangulosCara(e, c.Lados, triangulos);
            if (n == 0)
                continue;
            const trTexturaObjeto* t = nullptr;
            const int32_t pagina = PaginaDeCara(nivel_, c.Textura, c.Lados == 3, t);
            Grupo& gr = grupos[Clave(pagina, c.DobleCara, c.Textura, 0)];
            gr.Agregar(triangulos, n, [&](int k) {
                const trVerticeCuarto& v = g.Vertices[c.Vertices[k]];
                const glm::vec3 p = PuntoEnModelo({float(v.X), float(v.Y), float(v.Z)}, escala_);
                gr.posiciones.insert(gr.posiciones.end(), {p.x, p.y, p.z});
                gr.colores.insert(gr.colores.end(), {CanalLineal(v.Color, 10),
                                                     CanalLineal(v.Color, 5),
                                                     CanalLineal(v.Color, 0)});
                if (t)
                    gr.uv.insert(gr.uv.end(),
                                 {UVEsquina(t->Esquinas[k].X), UVEsquina(t->Esquinas[k].Y)});
            });
        }
        if (grupos.empty())
            return;
        tinygltf::Node n;
        n.name = "cuarto_" + std::to_string(indice);
        n.mesh = Primitivas(grupos, n.name);
        m_.scenes[0].nodes.push_back(int(m_.nodes.size()));
        m_.nodes.push_back(n);
    }

    // One mesh alone, where it stands.
    void MeshSola(int32_t indice) {
        tinygltf::Node n;
        n.name = "mesh_" + std::to_string(indice);
        n.mesh = Mesh(indice);
        m_.scenes[0].nodes.push_back(int(m_.nodes.size()));
        m_.nodes.push_back(n);
    }

    tinygltf::Model& Gltf() { return m_; }

    // The box that holds the object's vertices in the model's axes; false when it has none.
    bool Caja(const Ensamblaje& e, glm::vec3& minimo, glm::vec3& maximo) const {
        minimo = glm::vec3(std::numeric_limits<float>::infinity());
        maximo = -minimo;
        for (const PiezaObjeto& p : e.Piezas) {
            const trMesh* m = nivel_.Mesh(p.Mesh);
            if (!m)
                continue;
            const glm::mat4 mundo = EnModelo(p.Mundo, escala_);
            for (const trVector16& v : m->Vertices) {
                const glm::vec3 q(mundo * glm::vec4(PuntoEnModelo({v.X, v.Y, v.Z}, escala_), 1));
                minimo = glm::min(minimo, q);
                maximo = glm::max(maximo, q);
            }
        }
        return minimo.x <= maximo.x;
    }

    // The files: the .glb, or the .gltf, its .bin and its pages.
    bool Serializar(const std::string& ruta, std::vector<ArchivoPorEscribir>& archivos,
                    std::string* motivo) {
        if (!CodificarPaginas()) {
            if (motivo)
                *motivo = Traducir("no hay memoria suficiente para comprimir las páginas");
            return false;
        }
        if (binario_)
            for (size_t i = 0; i < m_.images.size(); ++i)
                m_.images[i].bufferView = Vista(pngs_[i].data(), pngs_[i].size(), 0);
        const std::string base = Base(ruta);
        if (!binario_)
            for (size_t i = 0; i < m_.images.size(); ++i) {
                const std::string nombre = m_.images[i].name + ".png";
                if (!PuedeOcupar(Carpeta(ruta) + nombre, pngs_[i])) {
                    if (motivo)
                        *motivo = Formatear(
                            Traducir("%s ya existe con otra imagen (de otro nivel o retocada) y "
                                     "no se sobrescribe: exporta a otra carpeta o bórrala"),
                            {Carpeta(ruta) + nombre});
                    return false;
                }
                m_.images[i].uri = Uri(nombre);
                archivos.push_back({Carpeta(ruta) + nombre, std::move(pngs_[i])});
            }
        if (!m_.materials.empty() &&
            std::any_of(m_.materials.begin(), m_.materials.end(),
                        [](const tinygltf::Material& x) { return x.extensions.count(UNLIT); }))
            m_.extensionsUsed.push_back(UNLIT);
        tinygltf::TinyGLTF escritor;
        // The pages are ours to write; tinygltf's own writer would look for them on disk.
        escritor.SetImageWriter(nullptr, nullptr);
        // A .gltf's buffer goes beside it: tinygltf would write it into the JSON as base64.
        std::vector<uint8_t> datos;
        if (!binario_)
            datos.swap(m_.buffers[0].data);
        if (binario_ ? m_.buffers[0].data.empty() : datos.empty())
            m_.buffers.clear();
        // Written straight into the file's bytes, room made beforehand: a level's .glb is
        // megabytes, and a string stream would copy it three times over.
        std::vector<uint8_t> bytes;
        bytes.reserve((m_.buffers.empty() ? 0 : m_.buffers[0].data.size()) + (size_t(1) << 20));
        FlujoEnVector flujo(bytes);
        std::ostream salida(&flujo);
        if (!escritor.WriteGltfSceneToStream(&m_, salida, !binario_, binario_) || !salida) {
            if (motivo)
                *motivo = Traducir("no se pudo formar el modelo glTF");
            return false;
        }
        if (!datos.empty()) {
            // As characters: libc++ has no character traits for unsigned char any more.
            nlohmann::json j = nlohmann::json::parse(std::string_view(
                reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            j["buffers"][0] = {{"byteLength", datos.size()}, {"uri", Uri(base + ".bin")}};
            const std::string texto = j.dump(2);
            bytes.assign(texto.begin(), texto.end());
            archivos.push_back({Carpeta(ruta) + base + ".bin", std::move(datos)});
        }
        // Last, so that it lands only once everything it names is in place.
        archivos.push_back({ruta, std::move(bytes)});
        return true;
    }

  private:
    // Whether a page may be written to `ruta`: nothing there, or a file holding these very bytes
    // (the same page of the same level, or `tr4tool pages`' own). What cannot be read as a file
    // is left for the writing to report.
    static bool PuedeOcupar(const std::string& ruta, const std::vector<uint8_t>& bytes) {
#ifdef TR4_SIN_ARCHIVOS
        // Without files (the web page) a model is only ever built in memory: nothing to spoil.
        (void)ruta, (void)bytes;
        return true;
#else
        std::error_code ec;
        if (!std::filesystem::is_regular_file(ruta, ec))
            return true;
        std::ifstream f(ruta, std::ios::binary);
        if (!f)
            return true;
        if (std::filesystem::file_size(ruta, ec) != bytes.size())
            return false;
        return std::equal(bytes.begin(), bytes.end(), std::istreambuf_iterator<char>(f),
                          [](uint8_t a, char b) { return a == uint8_t(b); });
#endif
    }

    // Compressing the pages is most of an export's work, and each page is apart: one thread per
    // core takes the next page left.
    // false when a page could not be compressed (no memory for the compressor).
    bool CodificarPaginas() {
        pngs_.assign(paginas_.size(), {});
        std::atomic<size_t> siguiente = 0;
        auto trabajar = [&] {
            std::vector<uint8_t> rgba(size_t(LADO_PAGINA) * LADO_PAGINA * 4);
            for (size_t k; (k = siguiente++) < paginas_.size();) {
                const auto [pagina, aditiva] = paginas_[k];
                const uint8_t* bgra = nivel_.Texturas->GetTexels(pagina);
                if (!aditiva) {
                    pngs_[k] = PaginaPNG(bgra); // byte for byte `tr4tool pages`' file
                    continue;
                }
                // Over black, colour x alpha gives the texel back; behind it, what is there
                // dims only as much as the texel is bright. A see-through texel adds nothing.
                for (size_t i = 0; i < rgba.size(); i += 4) {
                    const uint8_t r = bgra[i + 2], g = bgra[i + 1], b = bgra[i];
                    const uint8_t brillo = bgra[i + 3] == 0 ? 0 : std::max({r, g, b});
                    auto lleno = [brillo](uint8_t c) {
                        return brillo == 0 ? uint8_t(0) : uint8_t((c * 255 + brillo / 2) / brillo);
                    };
                    rgba[i] = lleno(r);
                    rgba[i + 1] = lleno(g);
                    rgba[i + 2] = lleno(b);
                    rgba[i + 3] = brillo;
                }
                pngs_[k] = CodificarPNG(rgba.data(), LADO_PAGINA, LADO_PAGINA);
            }
        };
        {
#ifndef TR4_SIN_HILOS
            const size_t hilos = std::min<size_t>(
                std::max(1u, std::thread::hardware_concurrency()), paginas_.size());
            std::vector<std::jthread> otros;
            for (size_t h = 1; h < hilos; ++h)
                otros.emplace_back(trabajar);
#endif
            trabajar();
        }
        return std::none_of(pngs_.begin(), pngs_.end(), [](const auto& png) { return png.empty(); });
    }

    static std::string Carpeta(const std::string& ruta) {
        const auto barra = ruta.find_last_of('/');
        return barra == std::string::npos ? "" : ruta.substr(0, barra + 1);
    }
    static std::string Base(const std::string& ruta) {
        const std::string nombre = ruta.substr(Carpeta(ruta).size());
        return nombre.substr(0, nombre.find_last_of('.'));
    }
    // A file name as a relative URI: anything but unreserved characters percent-encoded.
    static std::string Uri(const std::string& nombre) {
        static const char* hex = "0123456789ABCDEF";
        std::string u;
        for (unsigned char c : nombre) {
            if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~')
                u += char(c);
            else
                u += {'%', hex[c >> 4], hex[c & 15]};
        }
        return u;
    }

    // Appends bytes to the buffer, each view on a 4-byte boundary as accessors need.
    int Vista(const void* bytes, size_t tamano, int objetivo) {
        auto& d = m_.buffers[0].data;
        d.resize((d.size() + 3) & ~size_t(3));
        tinygltf::BufferView v;
        v.buffer = 0;
        v.byteOffset = d.size();
        v.byteLength = tamano;
        v.target = objetivo;
        const auto* b = static_cast<const uint8_t*>(bytes);
        d.insert(d.end(), b, b + tamano);
        m_.bufferViews.push_back(v);
        return int(m_.bufferViews.size() - 1);
    }

    int Accesor(const std::vector<float>& valores, int tipo, int componentes, bool limites) {
        tinygltf::Accessor a;
        a.bufferView = Vista(valores.data(), valores.size() * sizeof(float), ARRAY_BUFFER);
        a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        a.type = tipo;
        a.count = valores.size() / size_t(componentes);
        if (limites) {
            a.minValues.assign(size_t(componentes), std::numeric_limits<double>::infinity());
            a.maxValues.assign(size_t(componentes), -std::numeric_limits<double>::infinity());
            for (size_t i = 0; i < valores.size(); ++i) {
                auto& mn = a.minValues[i % size_t(componentes)];
                auto& mx = a.maxValues[i % size_t(componentes)];
                mn = std::min(mn, double(valores[i]));
                mx = std::max(mx, double(valores[i]));
            }
        }
        m_.accessors.push_back(a);
        return int(m_.accessors.size() - 1);
    }

    int Indices(const std::vector<uint32_t>& indices, size_t vertices) {
        tinygltf::Accessor a;
        if (vertices <= 0xFFFF) {
            const std::vector<uint16_t> cortos(indices.begin(), indices.end());
            a.bufferView = Vista(cortos.data(), cortos.size() * 2, ELEMENT_ARRAY_BUFFER);
            a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
        } else {
            a.bufferView = Vista(indices.data(), indices.size() * 4, ELEMENT_ARRAY_BUFFER);
            a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
        }
        a.type = TINYGLTF_TYPE_SCALAR;
        a.count = indices.size();
        m_.accessors.push_back(a);
        return int(m_.accessors.size() - 1);
    }

    // A face's material key; the blend mode by the viewer's one rule.
    ClaveMaterial Clave(int32_t pagina, bool doble, uint16_t textura, uint16_t extra) const {
        if (pagina == SIN_TEXTURA || !nivel_.Nivel)
            return {SIN_TEXTURA, doble, trMezcla::Opaca};
        return {pagina, doble, MezclaCara(*nivel_.Nivel, textura, extra)};
    }

    // Unlit, as the viewer draws; untextured: plain white, as the viewer draws a face it cannot
    // texture. Mesh faces are all one-sided; rooms' may be double-sided.
    int Material(const ClaveMaterial& clave) {
        if (auto i = materiales_.find(clave); i != materiales_.end())
            return i->second;
        tinygltf::Material mat;
        mat.doubleSided = clave.Doble;
        mat.pbrMetallicRoughness.metallicFactor = 0;
        mat.pbrMetallicRoughness.roughnessFactor = 1;
        mat.extensions[UNLIT] = tinygltf::Value(tinygltf::Value::Object());
        if (clave.Pagina == SIN_TEXTURA) {
            mat.name = "sin_textura";
        } else {
            const bool aditiva = clave.Mezcla == trMezcla::Aditiva;
            mat.name = NombrePagina(clave.Pagina);
            mat.pbrMetallicRoughness.baseColorTexture.index = Textura(clave.Pagina, aditiva);
            if (clave.Mezcla == trMezcla::Recorte) {
                mat.alphaMode = "MASK";
                mat.alphaCutoff = 0.5;
                mat.name += "_recorte";
            } else if (aditiva) {
                mat.alphaMode = "BLEND";
                mat.name += "_aditiva";
            }
        }
        if (mat.doubleSided)
            mat.name += "_doble";
        m_.materials.push_back(mat);
        return materiales_[clave] = int(m_.materials.size() - 1);
    }

    // The page's texture, made once however many materials use it; an additive page is an image
    // of its own (see the header). Its PNG is made with the others once the model is complete.
    int Textura(int32_t pagina, bool aditiva) {
        if (auto i = texturas_.find({pagina, aditiva}); i != texturas_.end())
            return i->second;
        tinygltf::Image imagen;
        imagen.name = NombrePagina(pagina) + (aditiva ? "_aditiva" : "");
        imagen.mimeType = "image/png";
        m_.images.push_back(imagen);
        paginas_.push_back({pagina, aditiva});
        if (m_.samplers.empty()) {
            // Texel by texel, as Direct3D samples by default; a model without pages has none,
            // which a validator would report as unused.
            tinygltf::Sampler s;
            s.magFilter = NEAREST;
            s.minFilter = NEAREST;
            s.wrapS = s.wrapT = REPEAT;
            m_.samplers.push_back(s);
        }
        tinygltf::Texture t;
        t.sampler = 0;
        t.source = int(m_.images.size() - 1);
        m_.textures.push_back(t);
        return texturas_[{pagina, aditiva}] = int(m_.textures.size() - 1);
    }

    // The level's mesh as a model mesh, made once however many nodes use it; -1 when none of its
    // faces is drawn.
    int Mesh(int32_t indice) {
        if (auto i = meshes_.find(indice); i != meshes_.end())
            return i->second;
        const trMesh* m = nivel_.Mesh(indice);
        if (!m)
            return meshes_[indice] = -1;
        // Normals only where the mesh stores one per vertex, each of some length.
        bool normales = m->NumNormales > 0 && m->Normales.size() == m->Vertices.size();
        for (size_t i = 0; normales && i < m->Normales.size(); ++i) {
            const trVector16& n = m->Normales[i];
            normales = n.X || n.Y || n.Z;
        }
        std::map<ClaveMaterial, Grupo> grupos;
        auto cara = [&](const uint16_t* vertices, int esquinas, uint16_t textura, uint16_t extra) {
            Esquina e[4];
            for (int c = 0; c < esquinas; ++c) {
                const trVector16& v = m->Vertices[vertices[c]];
                e[c] = {v.X, v.Y, v.Z};
            }
            int triangulos[6];
            const int n = TriangulosCara(e, esquinas, triangulos);
            if (n == 0)
                return;
            const trTexturaObjeto* t = nullptr;
            const int32_t pagina = PaginaDeCara(nivel_, textura, esquinas == 3, t);
            Grupo& g = grupos[Clave(pagina, false, textura, extra)];
            g.Agregar(triangulos, n, [&](int c) {
                const trVector16& v = m->Vertices[vertices[c]];
                const glm::vec3 p = PuntoEnModelo({v.X, v.Y, v.Z}, escala_);
                g.posiciones.insert(g.posiciones.end(), {p.x, p.y, p.z});
                if (normales) {
                    const trVector16& n = m->Normales[vertices[c]];
                    const glm::vec3 q = glm::normalize(PuntoEnModelo({n.X, n.Y, n.Z}, 1));
                    g.normales.insert(g.normales.end(), {q.x, q.y, q.z});
                }
                if (t)
                    g.uv.insert(g.uv.end(),
                                {UVEsquina(t->Esquinas[c].X), UVEsquina(t->Esquinas[c].Y)});
            });
        };
        for (const trRectanguloTex& r : m->Rectangulos)
            if (VerticesValidos(r.Vertices, *m))
                cara(r.Vertices, 4, r.Textura, r.Extra);
        for (const trTrianguloTex& r : m->Triangulos)
            if (VerticesValidos(r.Vertices, *m))
                cara(r.Vertices, 3, r.Textura, r.Extra);
        return meshes_[indice] = Primitivas(grupos, "mesh_" + std::to_string(indice));
    }

    // A model mesh of one primitive per material; -1 for none.
    int Primitivas(const std::map<ClaveMaterial, Grupo>& grupos, const std::string& nombre) {
        if (grupos.empty())
            return -1;
        tinygltf::Mesh mesh;
        mesh.name = nombre;
        for (const auto& [clave, g] : grupos) {
            tinygltf::Primitive p;
            p.mode = TINYGLTF_MODE_TRIANGLES;
            p.material = Material(clave);
            p.attributes["POSITION"] = Accesor(g.posiciones, TINYGLTF_TYPE_VEC3, 3, true);
            if (!g.normales.empty())
                p.attributes["NORMAL"] = Accesor(g.normales, TINYGLTF_TYPE_VEC3, 3, false);
            if (!g.colores.empty())
                p.attributes["COLOR_0"] = Accesor(g.colores, TINYGLTF_TYPE_VEC3, 3, false);
            if (!g.uv.empty())
                p.attributes["TEXCOORD_0"] = Accesor(g.uv, TINYGLTF_TYPE_VEC2, 2, false);
            p.indices = Indices(g.indices, g.posiciones.size() / 3);
            mesh.primitives.push_back(std::move(p));
        }
        m_.meshes.push_back(std::move(mesh));
        return int(m_.meshes.size() - 1);
    }

    const NivelAbierto& nivel_;
    const float escala_;
    const bool binario_;
    tinygltf::Model m_;
    std::map<int32_t, int> meshes_;
    std::map<ClaveMaterial, int> materiales_;
    std::map<std::pair<int32_t, bool>, int> texturas_; // (page, additive) -> texture
    std::vector<std::pair<int32_t, bool>> paginas_;    // the page of each image, and if additive
    std::vector<std::vector<uint8_t>> pngs_; // one per image
};

bool TerminaEn(const std::string& ruta, const std::string& extension) {
    if (ruta.size() <= extension.size())
        return false;
    return std::equal(extension.rbegin(), extension.rend(), ruta.rbegin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// Every moveable, then every static, in file order, in rows on the ground (their lowest point at
// y = 0) with a gap between them, rows as long as the whole is deep, so none overlaps another.
void Todo(const NivelAbierto& nivel, Modelo& modelo, float escala) {
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel.Meshes ? *nivel.Meshes : vacia;
    struct Pieza {
        Ensamblaje e;
        std::string nombre;
        glm::vec3 minimo{0}, maximo{0};
    };
    std::vector<Pieza> objetos;
    for (const trMovible& m : nivel.Objetos.Movibles)
        objetos.push_back({ArmarMovible(m, lista), "movible_" + std::to_string(m.Id)});
    for (const trEstatico& e : nivel.Objetos.Estaticos)
        objetos.push_back({ArmarEstatico(e, lista), "estatico_" + std::to_string(e.Id)});
    const float hueco = 256 * escala; // a quarter sector
    double area = 0;
    float mayor = 0;
    for (Pieza& p : objetos) {
        if (!modelo.Caja(p.e, p.minimo, p.maximo))
            p.minimo = p.maximo = glm::vec3(0);
        const glm::vec3 lado = p.maximo - p.minimo;
        area += double(lado.x + hueco) * double(lado.z + hueco);
        mayor = std::max(mayor, lado.x + hueco);
    }
    const float fila = std::max(mayor, float(std::sqrt(area)));
    float x = 0, z = 0, fondo = 0;
    for (const Pieza& p : objetos) {
        if (p.e.Piezas.empty())
            continue; // nothing of it could be read
        const glm::vec3 lado = p.maximo - p.minimo;
        if (x > 0 && x + lado.x > fila) {
            x = 0;
            z += fondo + hueco;
            fondo = 0;
        }
        modelo.Objeto(p.e, p.nombre, glm::vec3(x, 0, z) - p.minimo);
        x += lado.x + hueco;
        fondo = std::max(fondo, lado.z);
    }
}

// The base rooms (those that replace another when the level is flipped are left out, and what
// they hold), then each static and item where the level places it; one naming an object or room
// the level lacks, or whose meshes cannot be read, is skipped.
void ExportarNivel(const NivelAbierto& nivel, Modelo& modelo, float escala) {
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel.Meshes ? *nivel.Meshes : vacia;
    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(*nivel.Nivel);
    std::vector<bool> alterno(cuartos.size(), false);
    for (const trGeometriaCuarto& c : cuartos)
        if (c.Alterno >= 0 && size_t(c.Alterno) < cuartos.size())
            alterno[size_t(c.Alterno)] = true;
    for (size_t r = 0; r < cuartos.size(); ++r)
        if (!alterno[r])
            modelo.Cuarto(cuartos[r], r);
    auto base = [&](int64_t r) { return r >= 0 && size_t(r) < cuartos.size() && !alterno[size_t(r)]; };
    const auto& objetos = nivel.Objetos;
    const auto estaticos = IndicePorId(objetos, false), movibles = IndicePorId(objetos, true);
    // Assembled once per object, however many times the level places it.
    std::map<std::pair<bool, size_t>, Ensamblaje> armados;
    auto colocar = [&](bool movible, size_t i, const std::string& nombre, int32_t x, int32_t y,
                       int32_t z, uint16_t angulo) {
        auto [e, nuevo] = armados.try_emplace({movible, i});
        if (nuevo)
            e->second = movible ? ArmarMovible(VestirMovible(objetos, i), lista)
                                : ArmarEstatico(objetos.Estaticos[i], lista);
        if (!e->second.Piezas.empty())
            modelo.Objeto(e->second, nombre, PuntoEnModelo({float(x), float(y), float(z)}, escala),
                          GiroEnModelo(angulo));
    };
    for (const trEstaticoColocado& c : objetos.Colocaciones)
        if (auto i = estaticos.find(c.Id); i != estaticos.end() && base(c.Cuarto))
            colocar(false, i->second, "estatico_" + std::to_string(c.Id), c.X, c.Y, c.Z,
                    c.Rotacion);
    for (const trItem& it : objetos.Items)
        if (auto i = movibles.find(it.Objeto);
            i != movibles.end() && base(it.Cuarto))
            colocar(true, i->second, "movible_" + std::to_string(it.Objeto), it.X, it.Y, it.Z,
                    uint16_t(it.Angulo));
}

} // namespace

bool ExtensionGLTF(const std::string& ruta) {
    return TerminaEn(ruta, ".glb") || TerminaEn(ruta, ".gltf");
}

bool ExportarGLTFEnMemoria(const NivelAbierto& nivel, const OpcionesGLTF& o,
                           const std::string& ruta, std::vector<ArchivoPorEscribir>& archivos,
                           std::string* motivo) {
    archivos.clear();
    std::string razon;
    const bool binario = TerminaEn(ruta, ".glb");
    const float escala = float(o.Escala);
    if (!binario && !TerminaEn(ruta, ".gltf"))
        razon = ruta + ": " + Traducir("se espera un nombre acabado en .glb o .gltf");
    else if (!std::isfinite(escala) || !(escala > 0))
        razon = Traducir("la escala ha de ser un número positivo");
    Modelo modelo(nivel, escala, binario);
    if (razon.empty()) {
        if (o.Que == OpcionesGLTF::Tipo::Todo) {
            Todo(nivel, modelo, escala);
        } else if (o.Que == OpcionesGLTF::Tipo::Nivel) {
            if (nivel.Nivel)
                ExportarNivel(nivel, modelo, escala);
        } else if (o.Que == OpcionesGLTF::Tipo::Movible && o.Animadas.Hay()) {
            ExportarMovibleAnimado(
                nivel, o.Numero, o.Animadas, escala, modelo.Gltf(),
                [&](const Ensamblaje& e, const std::string& nombre) {
                    return modelo.Objeto(e, nombre, glm::vec3(0));
                },
                razon);
        } else {
            const Elegido que = o.Que == OpcionesGLTF::Tipo::Movible    ? Elegido::Movible
                                : o.Que == OpcionesGLTF::Tipo::Estatico ? Elegido::Estatico
                                                                        : Elegido::Mesh;
            if (const auto e = ArmarElegido(nivel, que, o.Numero, razon)) {
                if (que == Elegido::Mesh)
                    modelo.MeshSola(int32_t(o.Numero));
                else
                    modelo.Objeto(*e,
                                  (que == Elegido::Movible ? "movible_" : "estatico_") +
                                      std::to_string(o.Numero),
                                  glm::vec3(0));
            }
        }
    }
    if (razon.empty() && modelo.Serializar(ruta, archivos, &razon))
        return true;
    archivos.clear();
    if (motivo)
        *motivo = razon;
    return false;
}

bool ExportarGLTF(const NivelAbierto& nivel, const OpcionesGLTF& opciones, const std::string& ruta,
                  std::string* motivo) {
    std::vector<ArchivoPorEscribir> archivos;
    return ExportarGLTFEnMemoria(nivel, opciones, ruta, archivos, motivo) &&
           EscribirAtomico(archivos, motivo);
}
