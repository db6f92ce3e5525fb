#include "CodigosSalida.h"

#include "Idioma.h"

int Fallar(std::ostream& errores, const std::string& quien, const Hecho& trabajo) {
    errores << quien << ": " << trabajo.Motivo() << '\n';
    return CodigoSalida({}, trabajo);
}

int RechazarUso(std::ostream& errores, const std::string& quien, const std::string& orden,
                const Hecho& uso) {
    const std::string nombre = orden.empty() ? "tr4tool" : "tr4tool " + orden;
    errores << quien << ": " << uso.Motivo() << " (" << Traducir("uso: ") << nombre << " --help)\n";
    return CodigoSalida(uso, {});
}
