#pragma once
// The glTF model an export builds from an open level, in memory: one node per mesh, hung as its
// object's mesh tree says and placed as the level places it; one model mesh per level mesh or
// room, one primitive per material; one material per page, sidedness and blend mode, each page
// one image however many materials use it (an additive page one more). What the images hold is
// made afterwards (CodificarPaginas), and the files by SerializarGLTF. See ExportarGLTF.h for the
// conventions the model follows.
#include "Ensamblaje.h"
#include "PaginasPNG.h"
#include "trCuartos.h"
#include "trMezcla.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <tiny_gltf.h>

#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct NivelAbierto;

class ModeloGLTF {
  public:
    // Model units per level unit: `escala`.
    ModeloGLTF(const NivelAbierto& nivel, float escala);

    // The object's node tree, its root named `nombre`, moved by `desplazamiento` and turned by
    // `giro`; the root's index. Each piece hangs from its parent piece, turned and placed
    // relative to it. Lara's joints are one skinned mesh beside the tree, bound to its nodes.
    int Objeto(const Ensamblaje& e, const std::string& nombre, const glm::vec3& desplazamiento,
               const glm::quat& giro = glm::quat(1, 0, 0, 0));

    // A room as one node holding its faces where the world has them, lit by its vertex colours;
    // a room without faces is left out.
    void Cuarto(const trGeometriaCuarto& g, size_t indice);

    // One mesh alone, where it stands.
    void MeshSola(int32_t indice);

    // The box that holds the object's vertices in the model's axes; false when it has none.
    bool Caja(const Ensamblaje& e, glm::vec3& minimo, glm::vec3& maximo) const;

    tinygltf::Model& Gltf() { return m_; }

    // What each of the model's images shows, in the images' order.
    const std::vector<PaginaImagen>& Imagenes() const { return imagenes_; }

  private:
    // What makes faces share a material: their page (-1 for none), sidedness and blend mode. An
    // untextured face is drawn plain white, opaque.
    struct ClaveMaterial {
        int32_t Pagina = -1;
        bool Doble = false;
        trMezcla Mezcla = trMezcla::Opaca;
        auto operator<=>(const ClaveMaterial&) const = default;
    };
    struct Grupo;

    ClaveMaterial Clave(int32_t pagina, bool doble, uint16_t textura, uint16_t extra) const;
    int Material(const ClaveMaterial& clave);
    int Textura(int32_t pagina, bool aditiva);
    int Mesh(int32_t indice);
    int Primitivas(const std::map<ClaveMaterial, Grupo>& grupos, const std::string& nombre);
    void Articular(const Ensamblaje& e, const std::vector<int>& nodos,
                   const std::vector<glm::mat4>& mundos, int raiz, const std::string& nombre);

    const NivelAbierto& nivel_;
    const float escala_;
    tinygltf::Model m_;
    std::map<int32_t, int> meshes_;
    std::map<ClaveMaterial, int> materiales_;
    std::map<std::pair<int32_t, bool>, int> texturas_; // (page, additive) -> texture
    std::vector<PaginaImagen> imagenes_;
};
