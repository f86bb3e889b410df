#include "ui/win/ui_language.h"

namespace mirlka {

LANGID UiLanguage() {
    static const LANGID language = GetACP() == 932 ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                                   : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    return language;
}

}  // namespace mirlka
