#include "SerializarGLTF.h"

#include "BufferGLTF.h"
#include "Idioma.h"

#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

#include <algorithm>
#include <cctype>
#ifndef TR4_SIN_ARCHIVOS
#include <filesystem>
#include <fstream>
#endif
#include <iterator>
#include <ostream>
#include <streambuf>
#include <string_view>

namespace {

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

// Whether a page may be written to `ruta`: nothing there, or a file holding these very bytes
// (the same page of the same level, or `tr4tool pages`' own). What cannot be read as a file is
// left for the writing to report.
bool PuedeOcupar(const std::string& ruta, const std::vector<uint8_t>& bytes) {
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

std::string Carpeta(const std::string& ruta) {
    const auto barra = ruta.find_last_of('/');
    return barra == std::string::npos ? "" : ruta.substr(0, barra + 1);
}

std::string Base(const std::string& ruta) {
    const std::string nombre = ruta.substr(Carpeta(ruta).size());
    return nombre.substr(0, nombre.find_last_of('.'));
}

// A file name as a relative URI: anything but unreserved characters percent-encoded.
std::string Uri(const std::string& nombre) {
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

} // namespace

Hecho SerializarGLTF(tinygltf::Model& m, std::vector<std::vector<uint8_t>> pngs,
                     const std::string& ruta, bool binario,
                     std::vector<ArchivoPorEscribir>& archivos) {
    if (binario)
        for (size_t i = 0; i < m.images.size(); ++i)
            m.images[i].bufferView = AgregarVista(m, pngs[i].data(), pngs[i].size(), 0);
    const std::string base = Base(ruta);
    if (!binario)
        for (size_t i = 0; i < m.images.size(); ++i) {
            const std::string nombre = m.images[i].name + ".png";
            if (!PuedeOcupar(Carpeta(ruta) + nombre, pngs[i])) {
                return Hecho::Fallo(
                    Formatear(Traducir("%s ya existe con otra imagen (de otro nivel o retocada) y "
                                       "no se sobrescribe: exporta a otra carpeta o bórrala"),
                              {Carpeta(ruta) + nombre}));
            }
            m.images[i].uri = Uri(nombre);
            archivos.push_back({Carpeta(ruta) + nombre, std::move(pngs[i])});
        }
    // A scene with no nodes and no name would be written as null, which readers refuse: a level
    // with no rooms and nothing placed still makes a valid, empty model.
    for (tinygltf::Scene& escena : m.scenes)
        if (escena.nodes.empty() && escena.name.empty())
            escena.name = "vacia";
    tinygltf::TinyGLTF escritor;
    // The pages are ours to write; tinygltf's own writer would look for them on disk.
    escritor.SetImageWriter(nullptr, nullptr);
    // A .gltf's buffer goes beside it: tinygltf would write it into the JSON as base64.
    std::vector<uint8_t> datos;
    if (!binario)
        datos.swap(m.buffers[0].data);
    if (binario ? m.buffers[0].data.empty() : datos.empty())
        m.buffers.clear();
    // Written straight into the file's bytes, room made beforehand: a level's .glb is
    // megabytes, and a string stream would copy it three times over.
    std::vector<uint8_t> bytes;
    bytes.reserve((m.buffers.empty() ? 0 : m.buffers[0].data.size()) + (size_t(1) << 20));
    FlujoEnVector flujo(bytes);
    std::ostream salida(&flujo);
    if (!escritor.WriteGltfSceneToStream(&m, salida, !binario, binario) || !salida) {
        return Hecho::Fallo(Traducir("no se pudo formar el modelo glTF"));
    }
    if (!datos.empty()) {
        // As characters: libc++ has no character traits for unsigned char any more.
        nlohmann::json j = nlohmann::json::parse(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        j["buffers"][0] = {{"byteLength", datos.size()}, {"uri", Uri(base + ".bin")}};
        const std::string texto = j.dump(2);
        bytes.assign(texto.begin(), texto.end());
        archivos.push_back({Carpeta(ruta) + base + ".bin", std::move(datos)});
    }
    // Last, so that it lands only once everything it names is in place.
    archivos.push_back({ruta, std::move(bytes)});
    return {};
}
