#include "LeerMeshes.h"
#include "trLector.h"

namespace {

// Reads one mesh record. Once a read is refused the data has ended inside this record: every
// later field would come from the middle of the missing bytes, so they are left at their start
// values and the walk stops after this record.
class LectorMesh {
  public:
    explicit LectorMesh(trLector& lector) : lector_(lector) {}
    bool Cortado() const { return cortado_; }

    template <class T> void Campo(T& destino) { Leer(&destino, sizeof(T)); }

    // An array whose bytes are missing stays empty rather than holding unread elements.
    template <class T> void Arreglo(int64_t cuenta, std::vector<T>& destino) {
        if (cuenta <= 0 || cortado_)
            return;
        if (uint64_t(cuenta) * sizeof(T) > lector_.Restante()) {
            cortado_ = true;
            return;
        }
        destino.resize(size_t(cuenta));
        Leer(destino.data(), static_cast<uint32_t>(destino.size() * sizeof(T)));
    }

  private:
    void Leer(void* destino, uint32_t longitud) {
        if (!cortado_ && lector_.Leer(destino, longitud) != trLector::LEIDO)
            cortado_ = true;
    }

    trLector& lector_;
    bool cortado_ = false;
};

} // namespace

int LeerMeshes(const uint8_t* datos, uint32_t longitud, std::unique_ptr<Lista_Mesh>& lista) {
    trLector lector;
    lector.Iniciar(longitud, datos);
    if (longitud == 0)
        return 0;

    auto nueva = std::make_unique<Lista_Mesh>();
    while (lector.Posicion < longitud) {
        const uint32_t inicio = lector.Posicion;
        auto m = std::make_unique<trMesh>();
        m->Inicio = inicio;
        LectorMesh r(lector);
        r.Campo(m->CentroX);
        r.Campo(m->CentroY);
        r.Campo(m->CentroZ);
        r.Campo(m->Radio);
        r.Campo(m->NumVertices);
        r.Arreglo(m->NumVertices, m->Vertices);
        r.Campo(m->NumNormales);
        if (m->NumNormales > 0)
            r.Arreglo(m->NumNormales, m->Normales);
        else if (m->NumNormales < 0)
            r.Arreglo(-int64_t{m->NumNormales}, m->Luces);
        r.Campo(m->NumRectangulos);
        r.Arreglo(m->NumRectangulos, m->Rectangulos);
        r.Campo(m->NumTriangulos);
        r.Arreglo(m->NumTriangulos, m->Triangulos);
        if (!r.Cortado() && (lector.Posicion - inicio) % 4 != 0) {
            uint16_t alineacion = 0;
            r.Campo(alineacion);
            if (!r.Cortado())
                m->Alineacion = alineacion;
        }
        // A tail too short for even the first field starts no record.
        if (lector.Posicion == inicio)
            break;
        nueva->Agregar(std::move(m));
        if (r.Cortado())
            break;
    }
    lista = std::move(nueva);
    return 1;
}
