#include "EscrituraAtomica.h"

#include "Idioma.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Carpeta(const std::string& ruta) {
    const auto barra = ruta.find_last_of('/');
    if (barra == std::string::npos)
        return ".";
    return barra == 0 ? "/" : ruta.substr(0, barra);
}

bool Fallar(std::string* motivo, const std::string& ruta, int error) {
    if (motivo)
        *motivo = Formatear(Traducir("no se pudo escribir %s: %s"), {ruta, std::strerror(error)});
    return false;
}

// The temporary's name starts with a dot so a file manager watching the folder hides it.
int CrearTemporal(const std::string& ruta, std::string& temporal) {
    const auto barra = ruta.find_last_of('/');
    const std::string nombre = barra == std::string::npos ? ruta : ruta.substr(barra + 1);
    temporal = Carpeta(ruta) + "/." + nombre + ".XXXXXX";
    const int fd = mkstemp(temporal.data());
    if (fd >= 0)
        fchmod(fd, 0644); // mkstemp's 0600 would make an export unreadable to others
    return fd;
}

bool EscribirTodo(int fd, std::span<const uint8_t> bytes) {
    size_t hecho = 0;
    while (hecho < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + hecho, bytes.size() - hecho);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        hecho += static_cast<size_t>(n);
    }
    return fsync(fd) == 0;
}

} // namespace

bool EscribirAtomico(const std::vector<ArchivoPorEscribir>& archivos, std::string* motivo) {
    std::vector<std::string> temporales;
    auto limpiar = [&] {
        for (const auto& t : temporales)
            unlink(t.c_str());
    };
    for (const auto& archivo : archivos) {
        std::string temporal;
        const int fd = CrearTemporal(archivo.Ruta, temporal);
        if (fd < 0) {
            const int error = errno;
            limpiar();
            return Fallar(motivo, archivo.Ruta, error);
        }
        temporales.push_back(temporal);
        const bool escrito = EscribirTodo(fd, archivo.Bytes);
        const int error = errno;
        if (close(fd) != 0 || !escrito) {
            const int razon = escrito ? errno : error;
            limpiar();
            return Fallar(motivo, archivo.Ruta, razon);
        }
    }
    for (size_t i = 0; i < archivos.size(); ++i) {
        if (rename(temporales[i].c_str(), archivos[i].Ruta.c_str()) != 0) {
            const int error = errno;
            for (size_t j = i; j < temporales.size(); ++j)
                unlink(temporales[j].c_str());
            return Fallar(motivo, archivos[i].Ruta, error);
        }
    }
    return true;
}

bool EscribirAtomico(const std::string& ruta, std::span<const uint8_t> bytes, std::string* motivo) {
    return EscribirAtomico({ArchivoPorEscribir{ruta, {bytes.begin(), bytes.end()}}}, motivo);
}
