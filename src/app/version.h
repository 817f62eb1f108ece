// The program's version, the one source for the resources, the captions and the tray tip.
#pragma once

#define NORVEL_VERSION_MAJOR 0
#define NORVEL_VERSION_MINOR 2
#define NORVEL_VERSION_REVISION 0
#define NORVEL_VERSION_BUILD 0
#define NORVEL_VERSION_TEXT "0.2.0.0"

#define NORVEL_DECIMAL_(n) #n
#define NORVEL_DECIMAL(n) NORVEL_DECIMAL_(n)
// The settings window's caption: "Norvel Version 0.2".
#define NORVEL_CAPTION \
  "Norvel Version " NORVEL_DECIMAL(NORVEL_VERSION_MAJOR) "." NORVEL_DECIMAL(NORVEL_VERSION_MINOR)
