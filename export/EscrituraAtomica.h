#pragma once
// Files written whole or not at all. An export is several megabytes written in pieces; a full
// disk or a killed process half way must not leave a truncated model where a good one stood, nor
// a stray file where there was none.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct ArchivoPorEscribir {
    std::string Ruta;
    std::vector<uint8_t> Bytes;
};

// Writes each file to a temporary in its own target folder (so the rename cannot cross file
// systems), flushes it to disk, and only when every one is written renames them into place, in
// order. On failure every temporary is removed, no target is touched (a rename that fails part
// way leaves the files before it renamed), and *motivo names the file and the reason.
bool EscribirAtomico(const std::vector<ArchivoPorEscribir>& archivos, std::string* motivo = nullptr);
bool EscribirAtomico(const std::string& ruta, std::span<const uint8_t> bytes,
                     std::string* motivo = nullptr);
