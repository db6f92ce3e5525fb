// The language follows the environment as POSIX orders it, whether or not the locale exists here.
#include "Idioma.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
