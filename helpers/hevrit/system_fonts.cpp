#include "system_fonts.h"

#include <fontconfig/fontconfig.h>

void useNoSystemFonts() {
    // The configuration becomes the library's own and lives until the program ends.
    if (FcConfig* empty = FcConfigCreate()) {
        if (!FcConfigSetCurrent(empty)) {
            FcConfigDestroy(empty);
        }
    }
}
