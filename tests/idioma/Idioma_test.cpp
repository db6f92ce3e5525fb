// The language follows the environment as POSIX orders it, whether or not the locale exists here;
// the English catalogue compiled in from idioma/en.po is whole and agrees with its Spanish texts.
#include "Idioma.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

TEST(Idioma, ElEntornoDecideEnElOrdenDePosix) {
    struct Caso {
        const char *lcAll, *lcMessages, *lang;
        Idioma esperado;
    };
    const Caso casos[] = {
        {nullptr, nullptr, nullptr, Idioma::Espanol},
        {nullptr, nullptr, "C", Idioma::Espanol},
        {nullptr, nullptr, "POSIX", Idioma::Espanol},
        {nullptr, nullptr, "C.UTF-8", Idioma::Espanol},
        {nullptr, nullptr, "es_ES.UTF-8", Idioma::Espanol},
        {nullptr, nullptr, "en_US.UTF-8", Idioma::Ingles},
        {nullptr, nullptr, "en", Idioma::Ingles},
        {nullptr, nullptr, "en_GB@euro", Idioma::Ingles},
        {nullptr, nullptr, "eno", Idioma::Espanol},
        {nullptr, "es_MX.UTF-8", "en_US.UTF-8", Idioma::Espanol},
        {"en_US.UTF-8", "es_ES.UTF-8", "es_ES.UTF-8", Idioma::Ingles},
        {"C", nullptr, "en_US.UTF-8", Idioma::Espanol},
        {"", "", "en_AU.UTF-8", Idioma::Ingles},
    };
    for (const Caso& c : casos) {
        auto fijar = [](const char* nombre, const char* valor) {
            valor ? setenv(nombre, valor, 1) : unsetenv(nombre);
        };
        fijar("LC_ALL", c.lcAll);
        fijar("LC_MESSAGES", c.lcMessages);
        fijar("LANG", c.lang);
        EXPECT_EQ(IdiomaDelEntorno(), c.esperado)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

namespace {

// The values a text takes, by number: "%s" the next one, "%2$s" the second; anything else after a
// '%' but another '%' is a fault the program would print as it stands.
std::vector<std::string> Marcadores(std::string_view texto) {
    std::vector<std::string> v;
    int siguiente = 0;
    for (size_t i = 0; i + 1 < texto.size(); ++i) {
        if (texto[i] != '%')
            continue;
        size_t fin = i + 1;
        while (fin < texto.size() && std::isdigit(static_cast<unsigned char>(texto[fin])))
            ++fin;
        if (texto[i + 1] == '%')
            ++i;
        else if (texto[i + 1] == 's')
            v.push_back(std::to_string(++siguiente)), ++i;
        else if (fin > i + 1 && texto.substr(fin, 2) == "$s")
            v.push_back(std::string(texto.substr(i + 1, fin - i - 1))), i = fin + 1;
        else
            v.push_back("?" + std::string(texto.substr(i, 2)));
    }
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

// What translators write in idioma/en.po reaches the program whole and usable.
TEST(Idioma, CadaEntradaDelCatalogoTieneSuFormaInglesaConLosMismosValores) {
    const auto catalogo = CatalogoIngles();
    ASSERT_GT(catalogo.size(), 100u); // the loader's reasons and tr4tool's table at least
    std::set<std::string_view> vistas;
    for (const auto& e : catalogo) {
        SCOPED_TRACE(e.espanol);
        EXPECT_TRUE(vistas.insert(e.espanol).second) << "twice in the catalogue";
        EXPECT_STRNE(e.ingles, "") << "no English form";
        EXPECT_FALSE(e.dudosa) << "marked fuzzy";
        EXPECT_EQ(Marcadores(e.ingles), Marcadores(e.espanol)) << e.ingles;
        for (const auto& m : Marcadores(e.espanol))
            EXPECT_NE(m[0], '?') << "a placeholder of another kind: " << m;
    }
}

TEST(Idioma, TraducirSoloEnInglesYConLaFormaDelCatalogo) {
    const char* const espanol = "datos del nivel dañados: %s";
    FijarIdioma(Idioma::Espanol);
    EXPECT_EQ(Traducir(espanol), espanol);
    FijarIdioma(Idioma::Ingles);
    EXPECT_STREQ(Traducir(espanol), "damaged level data: %s");
    EXPECT_STREQ(Traducir("un texto que nadie tradujo"), "un texto que nadie tradujo");
    EXPECT_STREQ(Traducir(""), "");
    // A text of the program is found by its content, not by where it is stored.
    const std::string copia = espanol;
    EXPECT_STREQ(Traducir(copia.c_str()), "damaged level data: %s");
    FijarIdioma(IdiomaDelEntorno());
}

TEST(Idioma, FormatearPoneCadaValorEnSuSitio) {
    struct Caso {
        const char* plantilla;
        std::initializer_list<std::string_view> valores;
        const char* esperado;
    };
    const Caso casos[] = {
        {"%s: %s bytes", {"bloque 1", "12"}, "bloque 1: 12 bytes"},
        {"%2$s antes que %1$s", {"a", "b"}, "b antes que a"},
        {"100%% de %s", {"x"}, "100% de x"},
        {"sin valores", {"x"}, "sin valores"},
        {"%s y %s", {"solo uno"}, "solo uno y "},
        {"%d no es nuestro, %", {"x"}, "%d no es nuestro, %"},
        {"%9$s", {"a"}, ""},
        {"", {}, ""},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Formatear(c.plantilla, c.valores), c.esperado) << c.plantilla;
}

TEST(Idioma, ElGeneradorLeeElCatalogoComoLoEscribenLosEditores) {
    const EntradaCatalogo prueba[] = {
#include "Prueba.inc"
    };
    ASSERT_EQ(std::size(prueba), 4u); // no header, no obsolete entry
    EXPECT_STREQ(prueba[0].espanol,
                 "una línea larga que el editor partió en dos, con [corchetes] y; punto y coma");
    EXPECT_STREQ(prueba[0].ingles, "a long line the editor split in two, with [brackets] and; a "
                                   "semicolon");
    EXPECT_STREQ(prueba[1].espanol, "comillas \"dobles\", barra \\ y\tnueva línea\n");
    EXPECT_STREQ(prueba[1].ingles, "\"double\" quotes, backslash \\ and\tnew line\n");
    EXPECT_FALSE(prueba[0].dudosa || prueba[1].dudosa);
    EXPECT_STREQ(prueba[2].espanol, "dudosa");
    EXPECT_TRUE(prueba[2].dudosa);
    EXPECT_STREQ(prueba[3].espanol, "sin traducir");
    EXPECT_STREQ(prueba[3].ingles, "");
}
