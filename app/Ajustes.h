#pragma once
// Where the window remembers itself: $XDG_CONFIG_HOME/tr4visor/tr4visor.conf on Linux.
#include <QSettings>

inline QSettings Ajustes() {
    return QSettings(QStringLiteral("tr4visor"), QStringLiteral("tr4visor"));
}
