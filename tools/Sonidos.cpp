#include "Sonidos.h"

#include "CargarNivel.h"
#include "CodigosSalida.h"
#include "DecodificarMuestra.h"
#include "EscrituraAtomica.h"
#include "Idioma.h"
#include "LeerSonidos.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iomanip>
#include <memory>

namespace {

const char* NombreFormato(uint16_t formato) {
    switch (formato) {
    case 0:
        return "-";
    case 1:
        return "pcm";
    case 2:
        return "ms_adpcm";
    case 0x11:
        return "ima_adpcm";
    default:
        return "other";
    }
}

std::string Segundos(const trPcm& pcm) {
    char texto[32];
    std::snprintf(texto, sizeof texto, "%.2f",
                  pcm.Frecuencia ? double(pcm.Cuadros()) / pcm.Frecuencia : 0.0);
    return texto;
}

std::string NombreArchivo(size_t i) {
    char texto[32];
    std::snprintf(texto, sizeof texto, "muestra_%03zu.wav", i);
    return texto;
}

nlohmann::json Muestras(const trSonidos& s, const std::vector<trPcm>& pcm) {
    nlohmann::json r = nlohmann::json::array();
    for (size_t i = 0; i < s.Muestras.size(); ++i) {
        const trMuestra& m = s.Muestras[i];
        const bool si = m.Legible();
        r.push_back(
            {{"index", i},
             {"uncompressed_size", m.TamanoDescomprimido},
             {"stored_size", m.TamanoGuardado},
             {"format", m.Formato},
             {"format_name", NombreFormato(m.Formato)},
             {"channels", m.Canales},
             {"rate", m.Frecuencia},
             {"bits", m.Bits},
             {"frames", si ? nlohmann::json(pcm[i].Cuadros()) : nlohmann::json(nullptr)},
             {"pcm_bytes", si ? nlohmann::json(pcm[i].BytesDatos()) : nlohmann::json(nullptr)},
             {"readable", si},
             {"reason", si ? nlohmann::json(nullptr) : nlohmann::json(ClaveFalla(m.Falla))},
             {"reason_text", si ? nlohmann::json(nullptr) : nlohmann::json(m.Motivo)}});
    }
    return r;
}

nlohmann::json Sonidos(const trSonidos& s) {
    nlohmann::json r = nlohmann::json::array();
    for (uint32_t id = 0; id < s.Mapa.size(); ++id) {
        if (s.Mapa[id] < 0)
            continue;
        const int32_t d = DetalleDeSonido(s, id);
        if (d < 0) {
            r.push_back({{"id", id},
                         {"detail", s.Mapa[id]},
                         {"detail_missing", true},
                         {"samples", nlohmann::json::array()}});
            continue;
        }
        const trDetalleSonido& e = s.Detalles[size_t(d)];
        r.push_back({{"id", id},
                     {"detail", d},
                     {"detail_missing", false},
                     {"first_sample", e.Muestra},
                     {"sample_count", e.NumMuestras()},
                     {"volume", e.Volumen},
                     {"range", e.Alcance},
                     {"chance", e.Probabilidad},
                     {"pitch", e.Tono},
                     {"flags", e.Banderas},
                     {"loop", e.Bucle()},
                     {"samples", MuestrasDeSonido(s, e)}});
    }
    return r;
}

void EscribirTexto(const trSonidos& s, const std::vector<trPcm>& pcm, uint32_t legibles,
                   std::ostream& salida) {
    size_t nombrados = 0;
    for (int16_t d : s.Mapa)
        nombrados += d >= 0;
    salida << Formatear(Traducir("%s sonidos en un mapa de %s entradas · %s detalles · %s "
                                 "muestras (%s se pueden oír)"),
                        {std::to_string(nombrados), std::to_string(s.Mapa.size()),
                         std::to_string(s.Detalles.size()), std::to_string(s.MuestrasDeclaradas),
                         std::to_string(legibles)})
           << '\n';
    if (nombrados > 0) {
        salida << std::setw(6) << Traducir("id") << std::setw(9) << Traducir("detalle")
               << std::setw(8) << Traducir("volumen") << std::setw(8) << Traducir("alcance")
               << std::setw(7) << Traducir("bucle") << "  " << Traducir("muestras") << '\n';
        for (uint32_t id = 0; id < s.Mapa.size(); ++id) {
            if (s.Mapa[id] < 0)
                continue;
            salida << std::setw(6) << id << std::setw(9) << s.Mapa[id];
            const int32_t d = DetalleDeSonido(s, id);
            if (d < 0) {
                salida << "  " << Traducir("no está en la lista de detalles") << '\n';
                continue;
            }
            const trDetalleSonido& e = s.Detalles[size_t(d)];
            salida << std::setw(8) << int(e.Volumen) << std::setw(8) << int(e.Alcance)
                   << std::setw(7) << e.Bucle() << " ";
            const auto muestras = MuestrasDeSonido(s, e);
            for (uint32_t m : muestras)
                salida << ' ' << m;
            if (muestras.empty())
                salida << ' ' << Traducir("ninguna");
            salida << '\n';
        }
    }
    if (s.Muestras.empty())
        return;
    salida << std::setw(8) << Traducir("muestra") << std::setw(10) << Traducir("formato")
           << std::setw(9) << Traducir("canales") << std::setw(8) << Traducir("Hz") << std::setw(10)
           << Traducir("segundos") << std::setw(10) << Traducir("bytes") << '\n';
    for (size_t i = 0; i < s.Muestras.size(); ++i) {
        const trMuestra& m = s.Muestras[i];
        salida << std::setw(8) << i << std::setw(10) << NombreFormato(m.Formato) << std::setw(9)
               << m.Canales << std::setw(8) << m.Frecuencia << std::setw(10)
               << (m.Legible() ? Segundos(pcm[i]) : "-") << std::setw(10) << m.TamanoGuardado;
        if (!m.Legible())
            salida << "  " << m.Motivo;
        salida << '\n';
    }
    if (s.MuestrasDeclaradas > s.Muestras.size())
        salida << Formatear(Traducir("el archivo dice tener %s muestras; las demás no están"),
                            {std::to_string(s.MuestrasDeclaradas)})
               << '\n';
}

} // namespace

int ListarSonidos(const std::string& archivo, bool json, const std::string& carpeta,
                  std::ostream& salida, std::ostream& errores) {
    auto nivel = std::make_unique<trNivel>();
    if (std::string motivo; !CargarNivel(archivo.c_str(), *nivel, &motivo))
        return Fallar(errores, "tr4tool: " + archivo, Hecho::Fallo(motivo));
    trSonidos s;
    LeerSonidos(*nivel, s);
    std::vector<trPcm> pcm;
    const uint32_t legibles = DecodificarMuestras(*nivel, s, &pcm);

    if (!carpeta.empty()) {
        std::vector<ArchivoPorEscribir> archivos;
        for (size_t i = 0; i < s.Muestras.size(); ++i)
            if (s.Muestras[i].Legible())
                archivos.push_back({carpeta + "/" + NombreArchivo(i), WavePcm(pcm[i])});
        for (const ArchivoPorEscribir& a : archivos)
            if (a.Bytes.empty())
                return Fallar(errores, "tr4tool: " + a.Ruta,
                              Hecho::Fallo(Traducir("no se pudo escribir el WAVE")));
        if (!archivos.empty())
            if (const Hecho escrito = EscribirAtomico(archivos); !escrito)
                return Fallar(errores, "tr4tool", escrito);
        if (!json) {
            salida << "tr4tool: "
                   << Formatear(Traducir("escritas %s muestras en %s como WAVE PCM de 16 bits"),
                                {std::to_string(archivos.size()), carpeta})
                   << '\n';
            // Told, not failed: what can be heard was written.
            if (archivos.size() < s.Muestras.size())
                salida << Formatear(Traducir("%s muestras no se pueden oír y no se escriben "
                                             "(tr4tool sounds NIVEL dice por qué)"),
                                    {std::to_string(s.Muestras.size() - archivos.size())})
                       << '\n';
            return EXITO;
        }
    }
    if (json) {
        nlohmann::json j{{"samples_declared", s.MuestrasDeclaradas},
                         {"sound_map_entries", s.Mapa.size()},
                         {"sound_map_long", s.MapaLargo},
                         {"details", s.Detalles.size()},
                         {"sounds", Sonidos(s)},
                         {"samples", Muestras(s, pcm)}};
        salida << j.dump(2) << '\n';
    } else {
        EscribirTexto(s, pcm, legibles, salida);
    }
    return EXITO;
}
