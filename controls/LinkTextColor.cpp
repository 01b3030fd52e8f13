#include "controls/LinkTextColor.h"

ColorRef LinkTextColor(const LinkColors& colors, bool hovering, bool visited) {
    if (hovering) {
        return colors.hover;
    }
    return visited ? colors.visited : colors.link;
}
