#include "base/win/app_globals.h"

namespace mirlka {

AppGlobals& Globals() {
    static AppGlobals globals;
    return globals;
}

}  // namespace mirlka
