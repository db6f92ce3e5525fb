#pragma once
// Files written whole or not at all. An export is several megabytes written in pieces; a full
// disk or a killed process half way must not leave a truncated model where a good one stood, nor
// a stray file where there was none.
#include "Hecho.h"

#include <cstdint>
#include <span>
#include <string>
#include <sys/types.h>
#include <vector>

struct ArchivoPorEscribir {
    std::string Ruta;
    std::vector<uint8_t> Bytes;
};

// The few file calls a write is made of, behind one seam so that a test can see their order and
// make any one of them fail. Each answers as the POSIX call it stands for: -1 with errno set.
class LlamadasArchivo {
  public:
    virtual ~LlamadasArchivo() = default;
    // mkstemp on the template (its XXXXXX replaced by the name made), readable by others.
    [[nodiscard]] virtual int CrearTemporal(std::string& plantilla) = 0;
    [[nodiscard]] virtual ssize_t Escribir(int fd, const uint8_t* datos, size_t n) = 0;
    [[nodiscard]] virtual int Sincronizar(int fd) = 0; // fsync
    [[nodiscard]] virtual int Cerrar(int fd) = 0;
    [[nodiscard]] virtual int Enlazar(const std::string& de, const std::string& a) = 0; // link
    [[nodiscard]] virtual int Renombrar(const std::string& de, const std::string& a) = 0;
    [[nodiscard]] virtual int Borrar(const std::string& ruta) = 0; // unlink
    // Opens the folder, fsyncs it and closes it: what makes the renames in it last.
    [[nodiscard]] virtual int SincronizarCarpeta(const std::string& carpeta) = 0;

    // The real calls.
    static LlamadasArchivo& DelSistema();
};

// Writes each file to a temporary in its own target folder (so the rename cannot cross file
// systems), flushes it to disk, and only when every one is written renames them into place, in
// order, then syncs their folders. On failure every temporary is removed and each file the write
// replaced is put back as it was (a new file is removed), and the reason names the file.
Hecho EscribirAtomico(const std::vector<ArchivoPorEscribir>& archivos,
                      LlamadasArchivo& llamadas = LlamadasArchivo::DelSistema());
Hecho EscribirAtomico(const std::string& ruta, std::span<const uint8_t> bytes);

// The nearest of `carpeta` and the folders above it that stands as something other than a folder
// (a file); empty when the first one that exists is a folder, or none does.
std::string ArchivoEnLugarDeCarpeta(const std::string& carpeta);
