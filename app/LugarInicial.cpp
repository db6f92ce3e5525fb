#include "LugarInicial.h"

#include <algorithm>

QRect LugarInicial(QRect ventana, const QRect& pantalla, QSize marco) {
    const QSize cabe = (pantalla.size() - marco).expandedTo(QSize(1, 1));
    ventana.setSize(ventana.size().boundedTo(cabe));
    const int x = std::clamp(ventana.x(), pantalla.left(),
                             pantalla.left() + cabe.width() - ventana.width());
    const int y = std::clamp(ventana.y(), pantalla.top(),
                             pantalla.top() + cabe.height() - ventana.height());
    ventana.moveTo(x, y);
    return ventana;
}
