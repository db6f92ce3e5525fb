#include "HojaContactos.h"

#include "ArticulacionesLara.h"

#include "Idioma.h"
#include "Lista_Mesh.h"
#include "SuperficieGL.h"
#include "dxDevice8.h"
#include "trObjetos.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_easy_font.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cstring>

std::vector<CeldaHoja> CeldasDeMeshes(const Lista_Mesh& lista) {
    std::vector<CeldaHoja> celdas;
    for (int32_t i = 0; i < lista.Cantidad(); ++i)
        celdas.push_back({std::to_string(i), ArmarMesh(i, lista)});
    return celdas;
}

std::vector<CeldaHoja> CeldasDeObjetos(const trObjetos& objetos, const Lista_Mesh& lista) {
    std::vector<CeldaHoja> celdas;
    const auto juntas = ArticulacionesLara::Hallar(objetos, lista);
    for (size_t i = 0; i < objetos.Movibles.size(); ++i) {
        const trMovible& m = objetos.Movibles[i];
        // Lara as the game draws her, and the cell says whose meshes she wears.
        const trMovible vestido = VestirMovible(objetos, i);
        std::string etiqueta = Formatear(Traducir("M%s"), {std::to_string(m.Id)});
        if (vestido.Meshes != m.Meshes)
            etiqueta = Formatear(Traducir("M%s Lara (M%s)"),
                                 {std::to_string(m.Id), std::to_string(objetos.CuerpoLara)});
        celdas.push_back({etiqueta, ArmarMovible(vestido, lista, juntas)});
    }
    for (const trEstatico& e : objetos.Estaticos)
        celdas.push_back(
            {Formatear(Traducir("E%s"), {std::to_string(e.Id)}), ArmarEstatico(e, lista)});
    return celdas;
}

Hecho PlanearRejilla(size_t celdas, int celda, Rejilla& rejilla) {
    if (celdas == 0)
        return Hecho::Fallo(Traducir("no hay nada que dibujar en la hoja"));
    // Near-square: as many columns as the square root, rounded up; never more rows than columns.
    size_t columnas = 1;
    while (columnas * columnas < celdas)
        ++columnas;
    const size_t filas = (celdas + columnas - 1) / columnas;
    const size_t cabe = size_t(LADO_MAXIMO_HOJA) / columnas;
    if (cabe < size_t(CELDA_MINIMA))
        return Hecho::Fallo(
            Formatear(Traducir("%s celdas no caben en una hoja de %s x %s píxeles ni "
                               "con celdas de %s px"),
                      {std::to_string(celdas), std::to_string(LADO_MAXIMO_HOJA),
                       std::to_string(LADO_MAXIMO_HOJA), std::to_string(CELDA_MINIMA)}));
    rejilla.Columnas = int(columnas);
    rejilla.Filas = int(filas);
    rejilla.Celda = std::clamp(celda, CELDA_MINIMA, int(std::min<size_t>(cabe, CELDA_MAXIMA)));
    return {};
}

namespace {

void Rellenar(ImagenRGBA& imagen, int x0, int y0, int x1, int y1, const uint8_t (&color)[4]) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, imagen.Ancho), y1 = std::min(y1, imagen.Alto);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            std::memcpy(&imagen.Bytes[(size_t(y) * size_t(imagen.Ancho) + size_t(x)) * 4], color,
                        4);
}

} // namespace

void Rotular(ImagenRGBA& imagen, int x, int y, std::string_view texto, int escala) {
    std::string letras;
    for (char c : texto)
        if (c >= 32 && c < 127)
            letras += c;
    if (letras.empty() || escala < 1)
        return;
    // stb_easy_font: four vertices of 16 bytes per stroke, at most a few dozen strokes a letter.
    std::vector<char> vertices(letras.size() * 64 * 64);
    const int trazos =
        stb_easy_font_print(0, 0, letras.data(), nullptr, vertices.data(), int(vertices.size()));
    auto esquina = [&](int trazo, int v, int eje) {
        float valor;
        std::memcpy(&valor, &vertices[size_t(trazo) * 64 + size_t(v) * 16 + size_t(eje) * 4],
                    sizeof valor);
        return int(valor);
    };
    static constexpr uint8_t NEGRO[4] = {0, 0, 0, 255}, CLARO[4] = {255, 236, 120, 255};
    // The outline first, one stroke pixel round every stroke; then the strokes over it.
    for (int borde : {1, 0})
        for (int t = 0; t < trazos; ++t) {
            const int x0 = esquina(t, 0, 0), y0 = esquina(t, 0, 1);
            const int x1 = esquina(t, 2, 0), y1 = esquina(t, 2, 1);
            Rellenar(imagen, x + (x0 - borde) * escala, y + (y0 - borde) * escala,
                     x + (x1 + borde) * escala, y + (y1 + borde) * escala, borde ? NEGRO : CLARO);
        }
}

Hecho ComponerHoja(dxDevice8& dispositivo, SuperficieGL& superficie, const BuffersMesh& buffers,
                   const std::vector<CeldaHoja>& celdas, const Rejilla& rejilla, ImagenRGBA& hoja,
                   uint32_t fondo) {
    const int celda = rejilla.Celda;
    hoja.Ancho = rejilla.Columnas * celda;
    hoja.Alto = rejilla.Filas * celda;
    hoja.Bytes.assign(size_t(hoja.Ancho) * size_t(hoja.Alto) * 4, 0);
    for (size_t i = 3; i < hoja.Bytes.size(); i += 4)
        hoja.Bytes[i] = 255;
    // A cell the device failed to draw would be a blank square that looks like an empty object.
    auto sinDibujo = [] { return Hecho::Fallo(Traducir("OpenGL no pudo dibujar la imagen")); };
    if (FAILED(dispositivo.SetColorFondo(int32_t(fondo >> 16 & 0xFF), int32_t(fondo >> 8 & 0xFF),
                                         int32_t(fondo & 0xFF))))
        return sinDibujo();
    for (size_t i = 0; i < celdas.size(); ++i) {
        const Ensamblaje& objeto = celdas[i].Objeto;
        if (FAILED(EncuadrarEnsamblaje(dispositivo, objeto, celda, celda)) ||
            FAILED(DibujarEnsamblaje(dispositivo, objeto, buffers, ANGULO_HOJA, true, false)))
            return sinDibujo();
        const std::vector<uint32_t> pixeles = LeerPixeles(superficie);
        if (pixeles.size() != size_t(celda) * size_t(celda))
            return Hecho::Fallo(Traducir("sin OpenGL: no se pudo leer la imagen dibujada"));
        const size_t x0 = i % size_t(rejilla.Columnas) * size_t(celda);
        const size_t y0 = i / size_t(rejilla.Columnas) * size_t(celda);
        for (size_t y = 0; y < size_t(celda); ++y) {
            uint8_t* destino = &hoja.Bytes[((y0 + y) * size_t(hoja.Ancho) + x0) * 4];
            for (size_t x = 0; x < size_t(celda); ++x) {
                const uint32_t p = pixeles[y * size_t(celda) + x];
                destino[4 * x] = uint8_t(p >> 16);
                destino[4 * x + 1] = uint8_t(p >> 8);
                destino[4 * x + 2] = uint8_t(p);
                destino[4 * x + 3] = uint8_t(p >> 24);
            }
        }
    }
    // Labels last, so no cell's drawing covers its neighbour's.
    const int escala = std::max(1, (celda + 64) / 128);
    for (size_t i = 0; i < celdas.size(); ++i)
        Rotular(hoja, int(i % size_t(rejilla.Columnas)) * celda + 2 * escala,
                int(i / size_t(rejilla.Columnas)) * celda + 2 * escala, celdas[i].Etiqueta, escala);
    return {};
}
