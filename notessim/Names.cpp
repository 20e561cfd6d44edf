#include "notessim/Names.h"

#include <vector>

namespace notessim {
namespace {

std::vector<std::string_view> Parts(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = name.find('/', start);
        parts.push_back(name.substr(start, slash - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return parts;
}

}  // namespace

std::string CanonicalizeName(std::string_view name) {
    if (name.find('=') != std::string_view::npos || name.find('/') == std::string_view::npos) {
        return std::string(name);
    }
    const std::vector<std::string_view> parts = Parts(name);
    std::string canonical;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) canonical += '/';
        canonical += i == 0 ? "CN=" : (i + 1 == parts.size() ? "O=" : "OU=");
        canonical += parts[i];
    }
    return canonical;
}

std::string AbbreviateName(std::string_view name) {
    if (name.find('=') == std::string_view::npos) return std::string(name);
    std::string abbreviated;
    const std::vector<std::string_view> parts = Parts(name);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) abbreviated += '/';
        std::string_view part = parts[i];
        if (const std::size_t equals = part.find('='); equals != std::string_view::npos) {
            part.remove_prefix(equals + 1);
        }
        abbreviated += part;
    }
    return abbreviated;
}

}  // namespace notessim
