#include "ConvertirMeshes.h"

#include "BuffersMesh.h"
#include "ConvencionesNivel.h"
#include "Lista_Mesh.h"
#include "dxBufferTextura.h"
#include "dxDevice8.h"
#include "trMezcla.h"
#include "trNivel.h"
#include "trTextura.h"

#include <cstddef>
#include <memory>

namespace {

// The texture face `textura` is drawn with; the device's page is null where it could not be made.
TexturaCara TexturaDe(const trNivel& nivel, const trTextura* texturas, uint16_t textura,
                      bool triangulo, IDirect3DTexture8*& pagina) {
    const TexturaCara t =
        TexturaDeCara(nivel, textura, triangulo, texturas ? uint32_t(texturas->NumPaginas()) : 0);
    pagina = t.Objeto ? texturas->GetTextura(int32_t(t.Pagina)) : nullptr;
    return t;
}

// Corner `i` of the mesh where it stands, or at posiciones[i] (device axes) when given.
void AgregarPosicion(dxPoligono& p, const trMesh& m, uint16_t i, const glm::vec3* posiciones) {
    const glm::vec3 d = posiciones ? posiciones[i] : EnDispositivo(m.Vertices[i]);
    // Refused only past the polygon's last corner, and each is given exactly its corners.
    (void)p.AgregarVertice(d.x, d.y, d.z);
}

// How the face goes over what is behind it, as flags the device's draw reads.
uint32_t BanderasMezcla(const trNivel& nivel, uint16_t textura, uint16_t extra) {
    switch (MezclaCara(nivel, textura, extra)) {
    case trMezcla::Recorte:
        return FLAG_RECORTE;
    case trMezcla::Aditiva:
        return FLAG_ADITIVA;
    default:
        return 0;
    }
}

void ConvertirMesh(const trMesh& m, const trTextura* texturas, const trNivel& nivel,
                   dxBufferTextura& buffer, const glm::vec3* posiciones = nullptr) {
    for (const trRectanguloTex& r : m.Rectangulos) {
        if (!VerticesValidos(r.Vertices, m))
            continue;
        auto q = std::make_unique<dxCuadradoTex>(FLAG_CULL_CCW |
                                                 BanderasMezcla(nivel, r.Textura, r.Extra));
        IDirect3DTexture8* pagina = nullptr;
        if (const TexturaCara t = TexturaDe(nivel, texturas, r.Textura, false, pagina); t.Objeto) {
            // The polygon's corners are the strip's, so their texels go in the strip's order.
            glm::vec2 uv[4];
            for (size_t k = 0; k < 4; ++k)
                uv[k] = UVDeEsquina(*t.Objeto, TIRA_RECTANGULO[k]);
            // A page the device could not make is refused, and the face stays untextured.
            (void)q->SetTextura(pagina, uv[0].x, uv[0].y, uv[1].x, uv[1].y, uv[2].x, uv[2].y,
                                uv[3].x, uv[3].y);
        }
        for (int c : TIRA_RECTANGULO)
            AgregarPosicion(*q, m, r.Vertices[c], posiciones);
        // Of the buffer's own family, so never refused.
        if (SUCCEEDED(q->Verificar()))
            (void)buffer.AgregarPoligono(std::move(q));
    }
    for (const trTrianguloTex& r : m.Triangulos) {
        if (!VerticesValidos(r.Vertices, m))
            continue;
        auto t3 = std::make_unique<dxTrianguloTex>(FLAG_CULL_CCW |
                                                   BanderasMezcla(nivel, r.Textura, r.Extra));
        IDirect3DTexture8* pagina = nullptr;
        if (const TexturaCara t = TexturaDe(nivel, texturas, r.Textura, true, pagina); t.Objeto) {
            const glm::vec2 a = UVDeEsquina(*t.Objeto, 0), b = UVDeEsquina(*t.Objeto, 1),
                            c = UVDeEsquina(*t.Objeto, 2);
            (void)t3->SetTextura(pagina, a.x, a.y, b.x, b.y, c.x, c.y);
        }
        for (int c = 0; c < 3; ++c)
            AgregarPosicion(*t3, m, r.Vertices[c], posiciones);
        if (SUCCEEDED(t3->Verificar()))
            (void)buffer.AgregarPoligono(std::move(t3));
    }
}

} // namespace

HRESULT ConvertirMeshes(const Lista_Mesh* lista, BuffersMesh& buffers, dxDevice8* dispositivo,
                        const trTextura* texturas, const trNivel& nivel) {
    if (!lista || lista->Cantidad() <= 0)
        return E_FAIL;
    // Every buffer exists before the first upload, so a selection by index never finds a hole.
    buffers.Vaciar();
    for (int32_t i = 0; i < lista->Cantidad(); ++i)
        buffers.Agregar(std::make_shared<dxBufferTextura>());
    // The list, pages and record outlive the buffers in an open level, which owns all four.
    buffers.PonerConversor([lista, texturas, &nivel](int indice,
                                                     const std::vector<glm::vec3>& posiciones,
                                                     dxBufferTextura& buffer) {
        trMesh* m = nullptr;
        if (!lista->ObtenerMesh(indice, m) || posiciones.size() != m->Vertices.size())
            return false;
        ConvertirMesh(*m, texturas, nivel, buffer, posiciones.data());
        return true;
    });

    HRESULT r = D3D_OK;
    for (int32_t i = 0; i < lista->Cantidad(); ++i) {
        trMesh* m = nullptr;
        if (!lista->ObtenerMesh(i, m))
            continue;
        dxBufferTextura& buffer = *buffers.Obtener(i);
        ConvertirMesh(*m, texturas, nivel, buffer);
        // A mesh without faces refuses its upload and simply draws nothing; one with faces
        // refused is a device that failed, and the first such refusal is the answer.
        if (!dispositivo)
            continue;
        if (const HRESULT h = dispositivo->CargarBuffer(&buffer);
            FAILED(h) && buffer.GetNumVertices() > 0 && SUCCEEDED(r))
            r = h;
    }
    return r;
}
