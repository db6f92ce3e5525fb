#include "MostradorObjeto.h"

#include "ArmarElegido.h"
#include "BarraAnimacion.h"
#include "EstadoVentana.h"
#include "MatrizDispositivo.h"

#include <string>

bool MostradorObjeto::Movible(int64_t indice, int64_t prestadas, int64_t animacion,
                              const std::function<void(EnVista)>& mostrar) {
    const NivelSubido* nivel = estado_.Nivel.get();
    if (!nivel || !nivel->Meshes || indice < 0 || size_t(indice) >= nivel->Objetos.Movibles.size())
        return false;
    const trMovible& propio = nivel->Objetos.Movibles[size_t(indice)];
    // Meshes that cannot be lent leave it in its own.
    trMovible m;
    if (!MovibleElegido(*nivel, propio.Id, prestadas, m)) {
        m = propio;
        prestadas = -1;
    }
    std::optional<Ensamblaje>& objeto = estado_.Objeto;
    // The same moveable worn the same way keeps its framing; a new animation just plays.
    if (!objeto || estado_.Vista.OtroMovible(indice, prestadas)) {
        estado_.Vista.SetMovible(indice, prestadas);
        objeto = ArmarMovible(m, *nivel->Meshes, nivel->Articulaciones);
        animacion_.SetMovible(nivel, &m, prestadas);
        mostrar(Vista(Elegido::Movible, int32_t(propio.Id)));
    }
    if (animacion < 0 || !animacion_.Elegir(uint32_t(animacion))) {
        // Back to the rest pose, framed as it was.
        animacion_.Quitar();
        const Ensamblaje reposo = ArmarMovible(m, *nivel->Meshes, nivel->Articulaciones);
        for (size_t i = 0; i < objeto->Piezas.size() && i < reposo.Piezas.size(); ++i) {
            objeto->Piezas[i].Mundo = reposo.Piezas[i].Mundo;
            objeto->Piezas[i].Vertices = reposo.Piezas[i].Vertices;
        }
    }
    return true;
}

std::optional<EnVista> MostradorObjeto::Estatico(int64_t indice) {
    const NivelSubido* nivel = estado_.Nivel.get();
    if (!nivel || !nivel->Meshes || indice < 0 || size_t(indice) >= nivel->Objetos.Estaticos.size())
        return std::nullopt;
    Quitar();
    const trEstatico& estatico = nivel->Objetos.Estaticos[size_t(indice)];
    estado_.Objeto = ArmarEstatico(estatico, *nivel->Meshes);
    return Vista(Elegido::Estatico, int32_t(estatico.Id));
}

void MostradorObjeto::Quitar() {
    estado_.Objeto.reset();
    estado_.Vista.SoltarMovible();
    animacion_.SetMovible(nullptr, nullptr, -1);
}

EnVista MostradorObjeto::Vista(Elegido clase, int32_t id) const {
    const Ensamblaje& objeto = *estado_.Objeto;
    EnVista vista;
    vista.Clase = clase;
    vista.Indice = id;
    for (const PiezaObjeto& p : objeto.Piezas)
        if (const trMesh* m = estado_.Nivel->Mesh(p.Mesh))
            vista.Meshes.push_back(m);
    // The object turns about the vertical axis through its sphere's centre, so that sphere holds
    // it through the whole turn.
    vista.Centro = VectorDX(objeto.Centro);
    vista.Limite = Esfera{objeto.Centro.x, objeto.Centro.y, objeto.Centro.z, objeto.Radio};
    return vista;
}
