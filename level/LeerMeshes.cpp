#include "LeerMeshes.h"
#include "trLector.h"

namespace {

// Reads count elements into destino in one copy; when the data cannot hold them the array
// stays empty rather than holding unread bytes.
template <class T> void LeerArreglo(trLector& lector, int64_t cuenta, std::vector<T>& destino) {
    if (cuenta <= 0 || uint64_t(cuenta) * sizeof(T) > lector.Restante())
        return;
    destino.resize(size_t(cuenta));
    lector.Leer(destino.data(), static_cast<uint32_t>(destino.size() * sizeof(T)));
}

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
        lector.Leer(&m->CentroX, 2);
        lector.Leer(&m->CentroY, 2);
        lector.Leer(&m->CentroZ, 2);
        lector.Leer(&m->Radio, 4);
        lector.Leer(&m->NumVertices, 2);
        LeerArreglo(lector, m->NumVertices, m->Vertices);
        lector.Leer(&m->NumNormales, 2);
        if (m->NumNormales > 0)
            LeerArreglo(lector, m->NumNormales, m->Normales);
        else if (m->NumNormales < 0)
            LeerArreglo(lector, -int64_t{m->NumNormales}, m->Luces);
        lector.Leer(&m->NumRectangulos, 2);
        LeerArreglo(lector, m->NumRectangulos, m->Rectangulos);
        lector.Leer(&m->NumTriangulos, 2);
        LeerArreglo(lector, m->NumTriangulos, m->Triangulos);
        if ((lector.Posicion - inicio) % 4 != 0) {
            uint16_t alineacion = 0;
            if (lector.Leer(&alineacion, 2) == trLector::LEIDO)
                m->Alineacion = alineacion;
        }
        // A last byte too short for any field would never be consumed: it starts no record.
        if (lector.Posicion == inicio)
            break;
        nueva->Agregar(std::move(m));
    }
    lista = std::move(nueva);
    return 1;
}
