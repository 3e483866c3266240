#include "instruments/params.h"

#include <cstring>
#include <initializer_list>

extern "C" const char* param_has_key(const char* text, char key) {
    if (text == nullptr || key == '\0') return nullptr;
    const char* found = std::strchr(text, key);
    if (found == nullptr) return nullptr;
    for (const char c : {'/', '#', '\''}) {
        const char* comment = std::strchr(text, c);
        if (comment != nullptr && comment < found) return nullptr;
    }
    return found;
}
