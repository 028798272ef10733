// Text helpers the toolkit's files share: the cells of a row text.
#include "gadget_internal.h"

std::string_view List_RowCell(std::string_view text, long long cell) {
    for (long long k = 1; k < cell; ++k) {
        const size_t lf = text.find('\n');
        if (lf == std::string_view::npos) return {};
        text.remove_prefix(lf + 1);
    }
    const size_t lf = text.find('\n');
    return lf == std::string_view::npos ? text : text.substr(0, lf);
}
